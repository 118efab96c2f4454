// Starting the real game in-process for the tests, and driving it frame by frame.
#include "cHeadlessGame.h"

#include "engine/cLayout.h"
#include "resources/cAssetNames.h"
#include "screens/cIntro.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
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

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Input arrives as the display's would: through SDL's event filter, if the game set one.
void PushEvent(SDL_Event event)
{
    const SDL_EventFilter filter = SDL_GetEventFilter();
    if (!filter || filter(&event))
        SDL_PushEvent(&event);
}

} // namespace

std::string cHeadlessGame::ArchivePath(const char* name)
{
    return std::string(ZAGONETAR_GAME_DIR) + "/" + name;
}

void cHeadlessGame::CopyArchives(const std::string& dir)
{
    for (const char* name :
         {cAssetNames::IMAGE_ARCHIVE, cAssetNames::SOUND_ARCHIVE, cAssetNames::FONT_ARCHIVE}) {
        std::ofstream(dir + "/" + name, std::ios::binary) << ReadAll(ArchivePath(name));
    }
}

cHeadlessGame::cHeadlessGame(int bpp, const cOptions& options)
{
    char* cwd = getcwd(nullptr, 0);
    previousDir = cwd ? cwd : "/";
    free(cwd);
    CopyArchives(dir.Path());
    if (chdir(dir.Path().c_str()) != 0)
        abort();
    const cLoadError failure =
        engine.Init("Zagonetar", cLayout::SCREEN_WIDTH, cLayout::SCREEN_HEIGHT, bpp, options);
    if (failure.Failed()) {
        fprintf(stderr, "the game did not start: %s\n", failure.message.c_str());
        abort();
    }
    engine.sounds.farewellMs = 0;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    engine.ChangeState(cIntro::Instance());
}

cHeadlessGame::~cHeadlessGame()
{
    Stop();
    if (chdir(previousDir.c_str()) != 0)
        perror("chdir");
}

void cHeadlessGame::Frames(int count)
{
    for (int i = 0; i < count; ++i)
        engine.RunFrame(false);
}

void cHeadlessGame::Stop()
{
    if (!stopped)
        engine.Cleanup();
    stopped = true;
}

void cHeadlessGame::PushKey(SDLKey key, bool down)
{
    SDL_Event event = {};
    event.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    PushEvent(event);
}

void cHeadlessGame::PushMotion(int x, int y)
{
    SDL_Event event = {};
    event.motion = {SDL_MOUSEMOTION, 0, 0, static_cast<Uint16>(x), static_cast<Uint16>(y), 0, 0};
    PushEvent(event);
}

void cHeadlessGame::PushButton(bool down, int button, int x, int y)
{
    SDL_Event event = {};
    event.button = {static_cast<Uint8>(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP),
                    0,
                    static_cast<Uint8>(button),
                    static_cast<Uint8>(down ? SDL_PRESSED : SDL_RELEASED),
                    static_cast<Uint16>(x),
                    static_cast<Uint16>(y)};
    PushEvent(event);
}

void cHeadlessGame::PushClick(int x, int y)
{
    PushMotion(x, y);
    PushButton(true, SDL_BUTTON_LEFT, x, y);
    PushButton(false, SDL_BUTTON_LEFT, x, y);
}

void cHeadlessGame::PushQuit()
{
    SDL_Event event = {};
    event.type = SDL_QUIT;
    PushEvent(event);
}

uint32_t cHeadlessGame::Pixel(SDL_Surface* s, int x, int y)
{
    SDL_LockSurface(s);
    const Uint8* at =
        static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    Uint32 raw = 0;
    memcpy(&raw, at, s->format->BytesPerPixel);
    SDL_UnlockSurface(s);
    Uint8 r, g, b;
    SDL_GetRGB(raw, s->format, &r, &g, &b);
    return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
}

bool cHeadlessGame::Shows(SDL_Surface* picture, int left, int top, int x, int y) const
{
    return Pixel(engine.screen, x, y) == Pixel(picture, x - left, y - top);
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
    const std::string all = ReadAll(path);
    const std::string fresh = all.substr(consumed);
    consumed = all.size();
    return fresh;
}
