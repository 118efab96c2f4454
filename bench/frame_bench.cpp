// The cost of one frame's HandleEvents, Update and Draw on every screen, next to the
// cost of copying one 640 x 480 x 4-byte frame in the same run; and the cost of
// presenting a frame enlarged, next to copying the enlarged frame's bytes.
#include "cHeadlessGame.h"
#include "engine/cLayout.h"
#include "engine/cScaler.h"
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

// A memcpy of the bytes of a frame `state.range(0)` times as large.
void ScaledCopy(benchmark::State& state)
{
    const size_t scale = static_cast<size_t>(state.range(0));
    std::vector<unsigned char> from(640 * 480 * 4 * scale * scale, 1), to(from.size());
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

// The intro's frame presented `state.range(0)` times as large on a display of its size,
// every frame a new picture: the worst case, since an unchanged frame is not drawn again.
void Present(benchmark::State& state)
{
    const int scale = static_cast<int>(state.range(0));
    ToIntro();
    SDL_Surface* from = game->engine.screen;
    const SDL_PixelFormat* f = from->format;
    SDL_Surface* to = SDL_CreateRGBSurface(SDL_SWSURFACE, 640 * scale, 480 * scale, 32, f->Rmask,
                                           f->Gmask, f->Bmask, 0);
    cScaler scaler;
    Uint32* pixels = static_cast<Uint32*>(from->pixels);
    Uint32* lastRow = pixels + (from->h - 1) * from->pitch / 4;
    for (auto _ : state) {
        // The top and bottom rows change: the whole picture is compared and drawn.
        pixels[0] ^= 1;
        lastRow[0] ^= 1;
        scaler.Present(from, to, 0, 0, scale);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(to);
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
BENCHMARK(ScaledCopy)->Arg(2)->Arg(3);
BENCHMARK(Present)->Arg(2)->Arg(3);
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
