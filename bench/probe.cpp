// zagonetar-probe: the game's own start-up and loop, measured from inside.
//   first-frame: prints milliseconds from process start to the first flipped frame.
//   memory:      resident memory after start and after a thousand puzzles.
//   intervals:   the time between successive flips over ten seconds of play.
#include "engine/cGameEngine.h"
#include "engine/cLayout.h"
#include "screens/cIntro.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

double NowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

long ResidentKb()
{
    FILE* f = fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (f && fgets(line, sizeof line, f))
        if (strncmp(line, "VmRSS:", 6) == 0)
            kb = strtol(line + 6, nullptr, 10);
    if (f)
        fclose(f);
    return kb;
}

const char* CAPTION = "Zagonetar - <F11> za fullscreen, <Esc> za pauzu/izlaz";

void Push(Uint8 type, int x, int y, Uint8 button = 0)
{
    SDL_Event e = {};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
    } else {
        e.button.type = type;
        e.button.button = button;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
    }
    SDL_PushEvent(&e);
}

} // namespace

static void Start(cGameEngine& engine)
{
    const cLoadError failure =
        engine.Init(CAPTION, cLayout::SCREEN_WIDTH, cLayout::SCREEN_HEIGHT, 0);
    if (failure.Failed()) {
        failure.Report();
        _exit(1);
    }
}

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    cGameEngine engine;

    if (mode == "first-frame") {
        // The caller passes its monotonic clock reading, in milliseconds, taken just
        // before it started this process.
        const double started = argc > 2 ? strtod(argv[2], nullptr) : NowMs();
        Start(engine);
        engine.ChangeState(cIntro::Instance());
        engine.RunFrame(false);
        printf("first_frame_ms %.1f\n", NowMs() - started);
        fflush(stdout);
        _exit(0);
    }
    if (mode == "memory") {
        Start(engine);
        engine.ChangeState(cIntro::Instance());
        engine.RunFrame(false);
        const long atStart = ResidentKb();
        engine.ChangeState(cSerijacija::Instance());
        long afterHundred = 0;
        for (int puzzle = 0; puzzle < 1000; ++puzzle) {
            engine.ChangeState(cSerijacija::Instance());
            engine.RunFrame(false);
            if (puzzle == 99)
                afterHundred = ResidentKb();
        }
        printf("rss_start_kb %ld\nrss_100_puzzles_kb %ld\nrss_1000_puzzles_kb %ld\n", atStart,
               afterHundred, ResidentKb());
        fflush(stdout);
        _exit(0);
    }
    if (mode == "intervals") {
        Start(engine);
        engine.ChangeState(cIntro::Instance());
        engine.ChangeState(cSerijacija::Instance());
        std::vector<double> flips;
        const double start = NowMs();
        int step = 0;
        while (NowMs() - start < 10000) {
            // Keep a log on the move, as a child dragging would.
            const int x = 100 + (step * 7) % 300;
            if (step % 60 == 0)
                Push(SDL_MOUSEBUTTONDOWN, 45, 100, SDL_BUTTON_LEFT);
            Push(SDL_MOUSEMOTION, x, 200);
            ++step;
            engine.RunFrame(true);
            flips.push_back(NowMs());
        }
        std::vector<double> gaps;
        for (size_t i = 1; i < flips.size(); ++i)
            gaps.push_back(flips[i] - flips[i - 1]);
        std::sort(gaps.begin(), gaps.end());
        size_t within = 0;
        for (double g : gaps)
            within += (g >= 33.0 && g <= 35.0) ? 1 : 0;
        printf("frames %zu\nmedian_ms %.2f\np1_ms %.2f\np99_ms %.2f\nmax_ms %.2f\nwithin_33_35 "
               "%.1f%%\n",
               gaps.size(), gaps[gaps.size() / 2], gaps[gaps.size() / 100],
               gaps[gaps.size() * 99 / 100], gaps.back(), 100.0 * within / gaps.size());
        fflush(stdout);
        _exit(0);
    }
    if (mode == "first-puzzle") {
        // The way a child goes: the landscape (where the music is decoded), then the
        // puzzle, its first second frame by frame.
        Start(engine);
        engine.ChangeState(cIntro::Instance());
        engine.RunFrame(true);
        engine.ChangeState(cIzbor::Instance());
        double before = NowMs();
        engine.RunFrame(false);
        const double landscapeMs = NowMs() - before;
        engine.ChangeState(cSerijacija::Instance());
        double longest = 0;
        for (int frame = 0; frame < 30; ++frame) {
            before = NowMs();
            engine.RunFrame(false);
            longest = std::max(longest, NowMs() - before);
        }
        printf("landscape_first_frame_ms %.1f\npuzzle_first_second_longest_frame_ms %.1f\n",
               landscapeMs, longest);
        fflush(stdout);
        _exit(0);
    }
    fprintf(stderr, "usage: zagonetar-probe first-frame|memory|intervals|first-puzzle\n");
    return 2;
}
