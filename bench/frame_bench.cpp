// The cost of one frame's HandleEvents, Update and Draw on every screen, next to the
// cost of copying one 640 x 480 x 4-byte frame in the same run.
#include "cHeadlessGame.h"
#include "engine/cLayout.h"
#include "screens/cBalvan.h"
#include "screens/cGlavniMeni.h"
#include "screens/cIntro.h"
#include "screens/cIzbor.h"
#include "screens/cMesto.h"
#include "screens/cSerijacija.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <vector>

namespace {

cHeadlessGame* game = nullptr;

void OneFrame(benchmark::State& state)
{
    for (auto _ : state) {
        game->engine.HandleEvents();
        game->engine.Update();
        game->engine.Draw();
        benchmark::ClobberMemory();
    }
}

void FrameCopy(benchmark::State& state)
{
    std::vector<unsigned char> from(640 * 480 * 4, 1), to(640 * 480 * 4);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void ToIntro()
{
    while (!game->engine.states.empty())
        game->engine.PopState();
    game->engine.ChangeState(cIntro::Instance());
    game->Frames(2);
}

void Intro(benchmark::State& state)
{
    ToIntro();
    OneFrame(state);
}

void DialogOverIntro(benchmark::State& state)
{
    ToIntro();
    game->engine.PushState(cGlavniMeni::Instance());
    game->Frames(2);
    OneFrame(state);
}

void Selection(benchmark::State& state)
{
    ToIntro();
    game->engine.ChangeState(cIzbor::Instance());
    cHeadlessGame::PushMotion(cLayout::ACTIVITY_ICON.hit.x + 20,
                              cLayout::ACTIVITY_ICON.hit.y + 15); // the name shows
    game->Frames(2);
    OneFrame(state);
}

void PuzzleWhileDragging(benchmark::State& state)
{
    ToIntro();
    game->engine.ChangeState(cSerijacija::Instance());
    const SDL_Rect r = cSerijacija::Instance()->puzzle.logs[0].GetRect();
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, r.x + 14, r.y + 20);
    game->Frames(2);
    int x = 100;
    for (auto _ : state) {
        x = x == 100 ? 300 : 100;
        cHeadlessGame::PushMotion(x, 200);
        game->engine.HandleEvents();
        game->engine.Update();
        game->engine.Draw();
        benchmark::ClobberMemory();
    }
}

void PuzzleWithVerdict(benchmark::State& state)
{
    ToIntro();
    game->engine.ChangeState(cSerijacija::Instance());
    // Stand every log in its own slot, then let Update judge the row.
    cSerijacijaModel& puzzle = cSerijacija::Instance()->puzzle;
    for (cBalvan& log : puzzle.logs) {
        const cMesto& slot = puzzle.slots[static_cast<size_t>(log.GetTarget())];
        log.SetPosition(slot.GetX(), slot.GetY() + 1 - log.FrameHeight());
    }
    game->Frames(20);
    if (!puzzle.puzzleDone)
        state.SkipWithError("the puzzle did not end");
    OneFrame(state);
}

} // namespace

BENCHMARK(FrameCopy);
BENCHMARK(Intro);
BENCHMARK(DialogOverIntro);
BENCHMARK(Selection);
BENCHMARK(PuzzleWhileDragging);
BENCHMARK(PuzzleWithVerdict);

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    cHeadlessGame headless(32);
    game = &headless;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    game = nullptr;
    return 0;
}
