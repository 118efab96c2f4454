// A millisecond stopwatch over SDL_GetTicks: paces the frame loop and blinks the puzzle's hint.
#pragma once

#include <cstdint>

class cTimer
{
public:
    cTimer();

    void Start();
    void Stop();
    void Pause();
    void Unpause();

    // Milliseconds since Start, less the time spent paused. The arithmetic is unsigned
    // so it stays right across SDL_GetTicks wrapping after 49.7 days.
    int32_t GetTicks() const;

    bool IsStarted() const { return started; }
    bool IsPaused() const { return paused; }

private:
    uint32_t startTicks;
    uint32_t pausedTicks;
    bool paused;
    bool started;
};
