// Start-up, shutdown, the state stack and one frame of the main loop.
#include "engine/cGameEngine.h"

#include "engine/cGameState.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// The picture that display positions are mapped into while the engine scales.
const cViewport* pointerView = nullptr;

// SDL calls this for each event from the display just before queuing it. A pointer event
// is queued mapped into the picture instead, or dropped when it is a press on the border,
// so no screen or widget ever sees a display position, however late in a frame it comes.
int MapPointer(const SDL_Event* event)
{
    const bool pointer = event->type == SDL_MOUSEMOTION || event->type == SDL_MOUSEBUTTONDOWN ||
                         event->type == SDL_MOUSEBUTTONUP;
    if (!pointer || !pointerView)
        return 1;
    SDL_Event mapped = *event;
    if (pointerView->MapEvent(mapped))
        SDL_PushEvent(&mapped);
    return 0;
}

} // namespace

cGameEngine::~cGameEngine()
{
    FreeRetired();
}

cLoadError cGameEngine::Init(const char* title, int width, int height, int bpp,
                             const cOptions& options)
{
    // Without an X display Debian's SDL would quietly draw the game as coloured text
    // in the terminal; a child's picture game has no use for that, so ask for X unless
    // the player chose a driver.
    if (!getenv("SDL_VIDEODRIVER"))
        setenv("SDL_VIDEODRIVER", "x11", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        return {cLoadError::STANDARD_ERROR, std::string("Zagonetar: no display could be opened (") +
                                                SDL_GetError() +
                                                "); start it from a desktop session."};
    SDL_WM_SetCaption(title, title);
    this->width = width;
    this->height = height;
    if (options.Scaled()) {
        const cLoadError failure = OpenScaled(bpp, options);
        if (failure.Failed()) {
            CloseScaled();
            SDL_Quit();
            return failure;
        }
    } else {
        screen = setVideoMode(width, height, bpp, 0);
        if (!screen) {
            cLoadError failure(cLoadError::STANDARD_ERROR,
                               "Zagonetar: the " + std::to_string(width) + "x" +
                                   std::to_string(height) +
                                   " window could not be opened: " + SDL_GetError());
            SDL_Quit();
            return failure;
        }
    }
    cLoadError failure;
    if (!sounds.LoadSounds(&failure) || !images.LoadImages(&failure)) {
        // The sounds are loaded when a picture fails: released without a farewell.
        sounds.Release();
        CloseScaled();
        screen = nullptr;
        SDL_Quit();
        return failure;
    }

    running = true;
    iconHovered = false;
    // The intro's F11 starts from the mode opened: a window unless asked otherwise.
    fullscreen = displayFullscreen;
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
    CloseScaled();
    SDL_Quit();
}

cLoadError cGameEngine::OpenScaled(int bpp, const cOptions& options)
{
    // SDL tells the desktop's size only until the first mode is set.
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info && info->current_w >= width && info->current_h >= height) {
        desktopWidth = info->current_w;
        desktopHeight = info->current_h;
    } else {
        fprintf(stderr,
                "Zagonetar: the desktop's size can't be read; full screen switches the "
                "display to %dx%d.\n",
                width, height);
    }
    windowScale = options.scale == cOptions::SCALE_AUTO
                      ? cViewport::AutoScale(desktopWidth, desktopHeight)
                      : std::max(1, options.scale);
    scaled = true;
    displayBpp = bpp;
    if (!OpenDisplay(options.fullscreen)) {
        const cViewport wanted = ViewFor(options.fullscreen);
        return {cLoadError::STANDARD_ERROR, "Zagonetar: the " +
                                                std::to_string(wanted.displayWidth) + "x" +
                                                std::to_string(wanted.displayHeight) +
                                                (options.fullscreen ? " full screen" : " window") +
                                                " could not be opened: " + SDL_GetError()};
    }
    // Later modes keep the depth of the first, so the picture's format always matches.
    const SDL_PixelFormat* f = display->format;
    displayBpp = f->BitsPerPixel;
    screen = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, f->BitsPerPixel, f->Rmask, f->Gmask,
                                  f->Bmask, f->Amask);
    if (!screen)
        return {cLoadError::STANDARD_ERROR,
                std::string("Zagonetar: no memory for the picture: ") + SDL_GetError()};
    if (f->palette)
        SDL_SetPalette(screen, SDL_LOGPAL, f->palette->colors, 0, f->palette->ncolors);
    pointerView = &view;
    SDL_SetEventFilter(MapPointer);
    return {};
}

void cGameEngine::CloseScaled()
{
    if (!scaled)
        return;
    SDL_SetEventFilter(nullptr);
    pointerView = nullptr;
    if (screen)
        SDL_FreeSurface(screen);
    screen = nullptr;
    display = nullptr;
    scaled = false;
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
    // Read afresh: a full-screen switch this frame replaces the surface.
    if (scaled)
        Present();
    else if (screen)
        SDL_Flip(screen);
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

void cGameEngine::Present()
{
    if (!display)
        return;
    const SDL_Rect changed = scaler.Present(screen, display, view.x, view.y, view.scale);
    if (borderPending)
        SDL_UpdateRect(display, 0, 0, 0, 0);
    else if (changed.h > 0)
        SDL_UpdateRect(display, changed.x, changed.y, changed.w, changed.h);
    borderPending = false;
}

bool cGameEngine::SetDisplayMode(bool toFullscreen)
{
    // A screen's own idea of the mode can be behind the display's: then there is
    // nothing to switch.
    if (scaled && display && toFullscreen == displayFullscreen)
        return true;
    if (OpenDisplay(toFullscreen))
        return true;
    fprintf(stderr, "Zagonetar: could not switch to %s: %s\n",
            toFullscreen ? "full screen" : "a window", SDL_GetError());
    if (OpenDisplay(!toFullscreen))
        return false;
    fprintf(stderr, "Zagonetar: the display can't be opened again; closing the game.\n");
    if (scaled)
        display = nullptr;
    else
        screen = nullptr;
    Quit();
    return false;
}

cViewport cGameEngine::ViewFor(bool toFullscreen) const
{
    if (!toFullscreen)
        return cViewport::Window(windowScale);
    // Without the desktop's size, full screen is the 640 x 480 mode it always was.
    return desktopWidth ? cViewport::Letterbox(desktopWidth, desktopHeight) : cViewport::Window(1);
}

SDL_Surface* cGameEngine::OpenDisplay(bool toFullscreen)
{
    const Uint32 flags = toFullscreen ? SDL_FULLSCREEN : 0;
    if (!scaled) {
        SDL_Surface* surface = setVideoMode(width, height, 32, flags);
        if (surface)
            screen = surface;
        return surface;
    }
    // The desktop's own resolution in full screen, so the monitor's mode never changes.
    const cViewport next = ViewFor(toFullscreen);
    SDL_Surface* surface = setVideoMode(next.displayWidth, next.displayHeight, displayBpp, flags);
    if (surface) {
        display = surface;
        view = next;
        displayFullscreen = toFullscreen;
        SDL_FillRect(display, nullptr, SDL_MapRGB(display->format, 0, 0, 0));
        borderPending = true;
        scaler.Forget();
    }
    return surface;
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
    fputs(line, stdout);
    fputc('\n', stdout);
    fflush(stdout);
}
