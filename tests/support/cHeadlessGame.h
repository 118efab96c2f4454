// The real game in-process on SDL's dummy drivers, in a folder of its own holding copies of
// the built archives, with helpers to queue input, run frames and read the screen.
#pragma once

#include "cTempDir.h"
#include "engine/cGameEngine.h"

#include <SDL_mixer.h>
#include <string>
#include <vector>

class cHeadlessGame
{
public:
    // Starts on the intro, 32 bits deep for pixels (the dummy's are 8); modes via `setVideoMode`.
    explicit cHeadlessGame(int bpp = 32, const cOptions& options = cOptions(),
                           SDL_Surface* (*setVideoMode)(int, int, int, Uint32) = SDL_SetVideoMode);
    ~cHeadlessGame();

    // One frame without the sleep: events, update, draw, flip, frameCount + 1.
    void Frames(int count = 1);
    // Stops the engine: every screen's Cleanup, assets released, SDL shut down.
    void Stop();

    // Input as the display delivers it; a click is a move there, a left press and a release.
    static void PushKey(SDLKey key, bool down = true);
    static void PushMotion(int x, int y);
    static void PushButton(bool down, int button, int x, int y);
    static void PushClick(int x, int y);
    static void PushQuit();

    // A pixel of any surface as 0xRRGGBB; whether it is the colour, give or take the GIF palette.
    static uint32_t Pixel(SDL_Surface* surface, int x, int y);
    static bool Near(uint32_t pixel, uint32_t rgb, int tolerance = 24);
    // What was heard since the last call, joined by ", ": a sound's file name ("klik.wav") or
    // "silence"; music as "music in 1000" (fade; " 1 times" if not looped) or "music out 100".
    std::string Heard();

    // Copies the built archives into `dir`; an entry of any archive ("" if none); a whole file.
    static void CopyArchives(const std::string& dir);
    static std::string Entry(const std::string& archive, const std::string& name);
    static std::string Built(const char* name)
    {
        return std::string(ZAGONETAR_GAME_DIR "/") + name;
    }
    static std::string ReadFile(const std::string& path);

    cTempDir dir;
    cGameEngine engine;

private:
    void Listen();

    std::string previousDir;
    bool stopped = false;
    std::vector<std::string> heard;
    // The six sounds as SDL_mixer decodes their files from the built archive, by name.
    std::vector<std::pair<std::string, Mix_Chunk*>> known;
};

// Captures standard output, or `fd`, while it lives; Take gives what came since the last Take.
class cTrace
{
public:
    explicit cTrace(int fd = 1);
    ~cTrace();
    std::string Take();

private:
    std::string path;
    int fd, savedFd;
    size_t consumed = 0;
};
