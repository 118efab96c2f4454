// Starting the real game in-process for the tests, and driving it frame by frame.
#include "cHeadlessGame.h"

#include "resources/cResourceArchive.h"
#include "screens/cIntro.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>

namespace {

// Failures are repeated on standard error, where a cTrace capturing stdout cannot hide them.
struct cEchoFailures : testing::EmptyTestEventListener
{
    void OnTestPartResult(const testing::TestPartResult& r) override
    {
        if (r.failed())
            std::cerr << r;
    }
};
const bool echo = (testing::UnitTest::GetInstance()->listeners().Append(new cEchoFailures), true);

// Input arrives as the display's would: through SDL's event filter, if the game set one.
void PushEvent(SDL_Event event)
{
    const SDL_EventFilter filter = SDL_GetEventFilter();
    if (!filter || filter(&event))
        SDL_PushEvent(&event);
}

} // namespace

void cHeadlessGame::CopyArchives(const std::string& dir)
{
    for (const char* name : {"imgres001.bin", "sndres001.bin", "fntres001.bin"})
        std::ofstream(dir + "/" + name) << std::ifstream(Built(name)).rdbuf();
}

std::string cHeadlessGame::Entry(const std::string& archive, const std::string& name)
{
    unsigned char* bytes = nullptr;
    uint32_t size = 0;
    std::string error;
    cResourceArchive::Find(archive, name, &bytes, &size, &error);
    const std::string entry(reinterpret_cast<char*>(bytes), bytes ? size : 0);
    free(bytes);
    return entry;
}

std::string cHeadlessGame::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

cHeadlessGame::cHeadlessGame(int bpp, const cOptions& options,
                             SDL_Surface* (*setVideoMode)(int, int, int, Uint32))
{
    engine.display.setVideoMode = setVideoMode;
    std::error_code lost; // a folder removed under a test leaves "/" to go back to
    previousDir = std::filesystem::current_path(lost).string();
    CopyArchives(dir.Path());
    std::filesystem::current_path(dir.Path());
    const cLoadError failure = engine.Init("Zagonetar", 640, 480, bpp, options);
    if (failure.Failed())
        fprintf(stderr, "the game did not start: %s\n", failure.message.c_str()), abort();
    engine.sounds.farewellMs = 0;
    for (SDL_Event event; SDL_PollEvent(&event);) {
    }
    Listen();
    engine.ChangeState(cIntro::Instance());
}

void cHeadlessGame::Listen()
{
    for (const char* name :
         {"prijava.wav", "odjava.wav", "klik.wav", "aplauz.wav", "ubac.wav", "ponovo.wav"}) {
        std::string b = Entry(Built("sndres001.bin"), name);
        known.emplace_back(
            name, b.empty() ? nullptr : Mix_LoadWAV_RW(SDL_RWFromMem(&b[0], int(b.size())), 1));
    }
    engine.sounds.onSound = [this](const Mix_Chunk* played) {
        std::string name = played ? "an unknown sound" : "silence";
        for (const auto& [file, chunk] : known)
            if (played && chunk && chunk->alen == played->alen &&
                memcmp(chunk->abuf, played->abuf, chunk->alen) == 0)
                name = file;
        heard.push_back(name);
    };
    engine.sounds.onMusic = [this](int fadeMs, int loops) {
        heard.push_back(fadeMs < 0 ? "music out " + std::to_string(-fadeMs)
                                   : "music in " + std::to_string(fadeMs) +
                                         (loops < 0 ? "" : " " + std::to_string(loops) + " times"));
    };
}

std::string cHeadlessGame::Heard()
{
    std::string all;
    for (const std::string& sound : heard)
        all += (all.empty() ? "" : ", ") + sound;
    heard.clear();
    return all;
}

cHeadlessGame::~cHeadlessGame()
{
    Stop();
    if (chdir(previousDir.empty() ? "/" : previousDir.c_str()) != 0)
        perror("chdir");
}

void cHeadlessGame::Frames(int count)
{
    for (int i = 0; i < count; ++i)
        engine.RunFrame(false);
}

void cHeadlessGame::Stop()
{
    if (std::exchange(stopped, true))
        return;
    // The farewell is heard too; the decoded copies go before the mixer closes.
    engine.Cleanup();
    for (auto& [file, chunk] : known)
        Mix_FreeChunk(chunk);
    known.clear();
}

void cHeadlessGame::PushKey(SDLKey key, bool down)
{
    const Uint8 type = down ? SDL_KEYDOWN : SDL_KEYUP, state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_Event event = {};
    event.key = {type, 0, state, {0, key, KMOD_NONE, 0}};
    PushEvent(event);
}

void cHeadlessGame::PushMotion(int x, int y)
{
    SDL_Event event = {};
    event.motion = {SDL_MOUSEMOTION, 0, 0, Uint16(x), Uint16(y), 0, 0};
    PushEvent(event);
}

void cHeadlessGame::PushButton(bool down, int button, int x, int y)
{
    const Uint8 type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    const Uint8 state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_Event event = {};
    event.button = {type, 0, Uint8(button), state, Uint16(x), Uint16(y)};
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
    PushEvent(SDL_Event{SDL_QUIT});
}

uint32_t cHeadlessGame::Pixel(SDL_Surface* s, int x, int y)
{
    Uint32 raw = 0;
    SDL_LockSurface(s);
    memcpy(&raw, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
           s->format->BytesPerPixel);
    SDL_UnlockSurface(s);
    Uint8 r, g, b;
    SDL_GetRGB(raw, s->format, &r, &g, &b);
    return r << 16 | g << 8 | b;
}

bool cHeadlessGame::Near(uint32_t pixel, uint32_t rgb, int tolerance)
{
    for (int shift : {16, 8, 0})
        if (std::abs(int(pixel >> shift & 255) - int(rgb >> shift & 255)) > tolerance)
            return false;
    return true;
}

cTrace::cTrace(int fd) : path("/tmp/zagonetar-trace-XXXXXX"), fd(fd), savedFd(dup(fd))
{
    const int file = mkstemp(&path[0]);
    fflush(stdout);
    dup2(file, fd);
    close(file);
}

cTrace::~cTrace()
{
    fflush(stdout);
    dup2(savedFd, fd);
    close(savedFd);
    unlink(path.c_str());
}

std::string cTrace::Take()
{
    fflush(stdout);
    std::ifstream in(path);
    const std::string fresh(std::istreambuf_iterator<char>(in.seekg(consumed)), {});
    consumed += fresh.size();
    return fresh;
}
