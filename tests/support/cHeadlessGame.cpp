// Starting the real game in-process for the tests, and driving it frame by frame.
#include "cHeadlessGame.h"

#include "cTestAssets.h"
#include "screens/cIntro.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// GoogleTest reports failures on standard output, which a cTrace may be capturing:
// repeat them on standard error so they are never lost.
class cFailuresToStderr : public ::testing::EmptyTestEventListener
{
    void OnTestPartResult(const ::testing::TestPartResult& result) override
    {
        if (result.failed())
            fprintf(stderr, "%s:%d: %s\n", result.file_name() ? result.file_name() : "?",
                    result.line_number(), result.message());
    }
};

const bool failuresToStderr = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new cFailuresToStderr);
    return true;
}();

} // namespace

cHeadlessGame::cHeadlessGame(int bpp, const std::string& archiveDir) : bpp(bpp)
{
    char* cwd = getcwd(nullptr, 0);
    previousDir = cwd ? cwd : "/";
    free(cwd);
    if (archiveDir.empty())
        cTestAssets::WriteGameArchives(dir.Path());
    if (chdir(archiveDir.empty() ? dir.Path().c_str() : archiveDir.c_str()) != 0)
        abort();
    Start();
}

void cHeadlessGame::Start()
{
    engine.Init("Zagonetar - <F11> za fullscreen, <Esc> za pauzu/izlaz", 640, 480, bpp);
    engine.sounds.farewellMs = 0;
    DrainEvents();
    stopped = false;
}

void cHeadlessGame::Restart()
{
    Stop();
    Start();
    StartOnIntro();
}

cHeadlessGame::~cHeadlessGame()
{
    Stop();
    if (chdir(previousDir.c_str()) != 0)
        perror("chdir");
}

void cHeadlessGame::StartOnIntro()
{
    engine.ChangeState(cIntro::Instance());
}

void cHeadlessGame::Frame()
{
    engine.RunFrame(false);
}

void cHeadlessGame::Frames(int count)
{
    for (int i = 0; i < count; ++i)
        Frame();
}

void cHeadlessGame::Stop()
{
    if (stopped)
        return;
    stopped = true;
    engine.Cleanup();
}

void cHeadlessGame::PushKey(SDLKey key)
{
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
    event.type = SDL_KEYUP;
    event.key.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    SDL_PushEvent(&event);
}

void cHeadlessGame::PushMotion(int x, int y)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    SDL_PushEvent(&event);
}

void cHeadlessGame::PushButton(bool down, int button, int x, int y)
{
    SDL_Event event = {};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.type = event.type;
    event.button.button = static_cast<Uint8>(button);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    SDL_PushEvent(&event);
}

void cHeadlessGame::PushClick(int x, int y)
{
    PushButton(true, SDL_BUTTON_LEFT, x, y);
    PushButton(false, SDL_BUTTON_LEFT, x, y);
}

void cHeadlessGame::PushQuit()
{
    SDL_Event event = {};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void cHeadlessGame::DrainEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

uint32_t cHeadlessGame::Pixel(int x, int y) const
{
    SDL_Surface* s = engine.screen;
    SDL_LockSurface(s);
    const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
    Uint32 raw = 0;
    switch (s->format->BytesPerPixel) {
    case 4:
        raw = reinterpret_cast<const Uint32*>(row)[x];
        break;
    case 2:
        raw = reinterpret_cast<const Uint16*>(row)[x];
        break;
    default:
        raw = row[x * s->format->BytesPerPixel];
        break;
    }
    SDL_UnlockSurface(s);
    Uint8 r, g, b;
    SDL_GetRGB(raw, s->format, &r, &g, &b);
    return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
}

cTrace::cTrace()
{
    char name[] = "/tmp/zagonetar-trace-XXXXXX";
    int fd = mkstemp(name);
    path = name;
    fflush(stdout);
    savedFd = dup(1);
    dup2(fd, 1);
    close(fd);
}

cTrace::~cTrace()
{
    fflush(stdout);
    dup2(savedFd, 1);
    close(savedFd);
    unlink(path.c_str());
}

std::string cTrace::Take()
{
    fflush(stdout);
    std::string all = ReadFileText(path);
    std::string fresh = all.substr(consumed);
    consumed = all.size();
    return fresh;
}
