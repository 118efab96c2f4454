// Start-up, shutdown, the state stack and one frame of the main loop.
#include "engine/cGameEngine.h"

#include "engine/cConsole.h"
#include "engine/cGameState.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <unistd.h>

cGameEngine::~cGameEngine()
{
    FreeRetired();
}

cLoadError cGameEngine::Init(const char* title, int width, int height, int bpp,
                             const cOptions& options)
{
    oneButton = options.oneButton;
    cLoadError failure = display.Open(title, width, height, bpp, options);
    if (failure.Failed())
        return failure;
    if (!sounds.LoadSounds(&failure) || !images.LoadImages(&failure)) {
        // The sounds are loaded when a picture fails: released without a farewell.
        sounds.Release();
        display.Close();
        return failure;
    }
    screen = display.Picture();

    running = true;
    iconHovered = false;
    // The intro's F11 starts from the mode opened: a window unless asked otherwise.
    fullscreen = display.Fullscreen();
    Log("cGameEngine Init");
    return failure;
}

void cGameEngine::Cleanup()
{
    while (!states.empty()) {
        states.back()->Cleanup(this);
        states.pop_back();
    }
    FreeRetired();
    Log("cGameEngine Cleanup");
    sounds.FreeSounds();
    images.FreeImages();
    display.Close();
    screen = nullptr;
}

bool cGameEngine::SetDisplayMode(bool toFullscreen)
{
    const bool switched = display.SetMode(toFullscreen);
    screen = display.Picture();
    if (!display.IsOpen())
        Quit();
    return switched;
}

void cGameEngine::ChangeState(cGameState* state)
{
    if (!states.empty()) {
        states.back()->Cleanup(this);
        states.pop_back();
    }
    states.push_back(state);
    state->Init(this);
}

void cGameEngine::PushState(cGameState* state)
{
    if (!states.empty())
        states.back()->Pause();
    states.push_back(state);
    state->Init(this);
}

void cGameEngine::PopState()
{
    if (states.empty())
        return;
    states.back()->Cleanup(this);
    states.pop_back();
    if (!states.empty())
        states.back()->Resume();
}

void cGameEngine::HandleEvents()
{
    if (states.empty()) {
        // Nothing left to show or to take input: end cleanly.
        Quit();
        return;
    }
    states.back()->HandleEvents(this);
    FreeRetired();
}

void cGameEngine::Update()
{
    if (!states.empty())
        states.back()->Update(this);
}

void cGameEngine::Draw()
{
    if (!states.empty() && screen)
        states.back()->Draw(this);
}

void cGameEngine::RunFrame(bool pace)
{
    const auto start = std::chrono::steady_clock::now();
    HandleEvents();
    Update();
    Draw();
    display.Present();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const int64_t delay =
        FrameDelay(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
    if (pace && delay > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
    frameCount += 1;
}

int64_t cGameEngine::FrameDelay(int64_t elapsedUs)
{
    const int64_t frameUs = FRAME_MS * 1000;
    return elapsedUs < frameUs ? frameUs - elapsedUs : 0;
}

int cGameEngine::DrawSurface(int x, int y, SDL_Surface* source, SDL_Surface* destination)
{
    if (CopyOpaque(x, y, source, destination))
        return 0;
    SDL_Rect offset;
    offset.x = static_cast<Sint16>(x);
    offset.y = static_cast<Sint16>(y);
    offset.w = 0;
    offset.h = 0;
    return SDL_BlitSurface(source, nullptr, destination, &offset);
}

bool cGameEngine::CopyOpaque(int x, int y, SDL_Surface* source, SDL_Surface* destination)
{
    // Every screen starts its frame with a whole 640 x 480 background. SDL copies an
    // opaque picture of the screen's own format with streaming stores that miss the
    // cache; plain row copies take about half the time. Anything keyed, translucent,
    // of another format or not wholly inside the clip area goes through SDL.
    if (!source || !destination || (source->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)))
        return false;
    const SDL_PixelFormat* a = source->format;
    const SDL_PixelFormat* b = destination->format;
    if (a->BitsPerPixel != b->BitsPerPixel || a->BitsPerPixel < 16 || a->Rmask != b->Rmask ||
        a->Gmask != b->Gmask || a->Bmask != b->Bmask || a->Amask != b->Amask)
        return false;
    const SDL_Rect& clip = destination->clip_rect;
    if (x < clip.x || y < clip.y || x + source->w > clip.x + clip.w ||
        y + source->h > clip.y + clip.h)
        return false;
    if (SDL_MUSTLOCK(destination) && SDL_LockSurface(destination) < 0)
        return false;
    const size_t rowBytes = static_cast<size_t>(source->w) * a->BytesPerPixel;
    const Uint8* from = static_cast<const Uint8*>(source->pixels);
    Uint8* to =
        static_cast<Uint8*>(destination->pixels) + y * destination->pitch + x * b->BytesPerPixel;
    if (rowBytes == source->pitch && source->pitch == destination->pitch) {
        memcpy(to, from, rowBytes * static_cast<size_t>(source->h));
    } else {
        for (int row = 0; row < source->h; ++row)
            memcpy(to + row * destination->pitch, from + row * source->pitch, rowBytes);
    }
    if (SDL_MUSTLOCK(destination))
        SDL_UnlockSurface(destination);
    return true;
}

void cGameEngine::FreeRetired()
{
    // Deleting may retire more (a screen's objects owning others), so drain in turns.
    while (!retired.empty()) {
        std::vector<std::function<void()>> batch;
        batch.swap(retired);
        for (auto& free : batch)
            free();
    }
}

void cGameEngine::Log(const char* line)
{
    // Never waits: a reader that stalls misses lines instead of freezing the frame loop.
    cConsole::WriteLine(STDOUT_FILENO, line, 0);
}
