// The stopwatch's start, pause and reading.
#include "engine/cTimer.h"

#include <SDL.h>

cTimer::cTimer() : startTicks(0), pausedTicks(0), paused(false), started(false) {}

void cTimer::Start()
{
    started = true;
    paused = false;
    startTicks = SDL_GetTicks();
}

void cTimer::Stop()
{
    started = false;
    paused = false;
}

void cTimer::Pause()
{
    if (started && !paused) {
        paused = true;
        pausedTicks = SDL_GetTicks() - startTicks;
    }
}

void cTimer::Unpause()
{
    if (paused) {
        paused = false;
        startTicks = SDL_GetTicks() - pausedTicks;
        pausedTicks = 0;
    }
}

int32_t cTimer::GetTicks() const
{
    if (!started)
        return 0;
    if (paused)
        return static_cast<int32_t>(pausedTicks);
    return static_cast<int32_t>(SDL_GetTicks() - startTicks);
}
