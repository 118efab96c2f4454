// The real engine and screens, started in-process on SDL's dummy drivers over
// stand-in archives in a temporary folder, with helpers to queue input and run frames.
#pragma once

#include "cChild.h"
#include "engine/cGameEngine.h"

#include <SDL.h>
#include <string>

class cHeadlessGame
{
public:
    // `bpp` 32 gives a surface whose pixels a test can read; the dummy display
    // would otherwise be 8 bits deep. `archiveDir` empty means stand-in archives.
    explicit cHeadlessGame(int bpp = 32, const std::string& archiveDir = "");
    ~cHeadlessGame();

    // Starts on the intro, as the game does.
    void StartOnIntro();
    // One frame without the sleep: events, update, draw, flip, frameCount + 1.
    void Frame();
    void Frames(int count);
    // Stops the engine (every state's Cleanup, assets released, SDL shut down).
    void Stop();
    // Stops the engine and starts it again on the intro, as a player starting anew would.
    void Restart();

    static void PushKey(SDLKey key);
    static void PushMotion(int x, int y);
    static void PushButton(bool down, int button, int x, int y);
    static void PushClick(int x, int y); // left press and release
    static void PushQuit();
    static void DrainEvents();

    // The screen pixel at (x, y) as 0xRRGGBB.
    uint32_t Pixel(int x, int y) const;

    cGameEngine engine;

private:
    void Start();

    int bpp;
    cTempDir dir;
    std::string previousDir;
    bool stopped = false;
};

// Captures standard output while it lives: the lifecycle lines a test expects.
class cTrace
{
public:
    cTrace();
    ~cTrace();
    std::string Take(); // what was printed so far; capturing goes on
private:
    std::string path;
    int savedFd;
    size_t consumed = 0;
};
