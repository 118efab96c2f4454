// The real engine and screens, started in-process on SDL's dummy drivers in a folder of
// their own holding copies of the built archives, with helpers to queue input, run
// frames and read the screen.
#pragma once

#include "cTempDir.h"
#include "engine/cGameEngine.h"

#include <SDL.h>
#include <string>

class cHeadlessGame
{
public:
    // Starts the engine on the intro. `bpp` 32 gives a screen whose pixels a test can
    // read; the dummy display would otherwise be 8 bits deep.
    explicit cHeadlessGame(int bpp = 32, const cOptions& options = cOptions());
    ~cHeadlessGame();

    // One frame without the sleep: events, update, draw, flip, frameCount + 1.
    void Frames(int count = 1);
    // Stops the engine: every screen's Cleanup, assets released, SDL shut down.
    void Stop();

    // A key press, or its release.
    static void PushKey(SDLKey key, bool down = true);
    static void PushMotion(int x, int y);
    static void PushButton(bool down, int button, int x, int y);
    // Moves there, then a left press and release.
    static void PushClick(int x, int y);
    static void PushQuit();

    // A pixel of any surface as 0xRRGGBB.
    static uint32_t Pixel(SDL_Surface* surface, int x, int y);
    // Whether the screen at (x, y) shows `picture` drawn with its top-left at (left, top).
    bool Shows(SDL_Surface* picture, int left, int top, int x, int y) const;

    // Copies the built archives into `dir`.
    static void CopyArchives(const std::string& dir);
    static std::string ArchivePath(const char* name);

    cTempDir dir;
    cGameEngine engine;

private:
    std::string previousDir;
    bool stopped = false;
};

// Captures standard output while it lives: the lifecycle lines a test expects.
class cTrace
{
public:
    cTrace();
    ~cTrace();
    // What was printed since the last call; capturing goes on.
    std::string Take();

private:
    std::string path;
    int savedFd;
    size_t consumed = 0;
};
