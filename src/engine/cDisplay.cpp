// Opening and closing the display, its modes and F11, and each frame's way to the monitor.
#include "engine/cDisplay.h"

#include "engine/cConsole.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// How long a complaint may wait for a stalled standard error before it is dropped.
const int MESSAGE_WAIT_MS = 100;

// The picture that display positions are mapped into while the display scales.
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

void cDisplay::ChooseSdlSettings()
{
    // Without an X display Debian's SDL would quietly draw the game as coloured text
    // in the terminal; a child's picture game has no use for that, so ask for X unless
    // the player chose a driver.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    // Where SDL 1.2 is sdl12-compat, over SDL 2, it would show each frame through
    // OpenGL, loading a software GL of some 110 MB that takes a few per cent of the
    // processor even while the game waits. The game draws a 640 x 480 software picture
    // and enlarges it itself, so plain software drawing is all it needs. Classic SDL 1.2
    // reads none of these.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
}

bool cDisplay::OverSdl2()
{
    // sdl12-compat numbers itself 1.2.50 and up; classic SDL 1.2 ended at 1.2.15.
    const SDL_version* linked = SDL_Linked_Version();
    return linked &&
           SDL_VERSIONNUM(linked->major, linked->minor, linked->patch) >= SDL_VERSIONNUM(1, 2, 50);
}

cLoadError cDisplay::Open(const char* title, int width, int height, int bpp,
                          const cOptions& options)
{
    ChooseSdlSettings();
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        return {cLoadError::STANDARD_ERROR, std::string("Zagonetar: no display could be opened (") +
                                                SDL_GetError() +
                                                "); start it from a desktop session."};
    SDL_WM_SetCaption(title, title);
    this->width = width;
    this->height = height;
    fullscreen = false;
    // sdl12-compat sends every flip whole to SDL 2, and stretches a 640 x 480 full screen
    // over the desktop with the processor, frame after frame: some 12 % of a core on a
    // 1920 x 1080 desktop while nothing moves. The game's own presentation sends only
    // what changed, and keeps the desktop's resolution in full screen.
    if (options.Scaled() || OverSdl2()) {
        const cLoadError failure = OpenScaled(bpp, options);
        if (failure.Failed())
            Close();
        return failure;
    }
    picture = surface = setVideoMode(width, height, bpp, 0);
    if (!picture) {
        cLoadError failure(cLoadError::STANDARD_ERROR,
                           "Zagonetar: the " + std::to_string(width) + "x" +
                               std::to_string(height) +
                               " window could not be opened: " + SDL_GetError());
        Close();
        return failure;
    }
    return {};
}

void cDisplay::Close()
{
    CloseScaled();
    picture = surface = nullptr;
    SDL_Quit();
}

cLoadError cDisplay::OpenScaled(int bpp, const cOptions& options)
{
    // SDL tells the desktop's size only until the first mode is set.
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info && info->current_w >= width && info->current_h >= height) {
        desktopWidth = info->current_w;
        desktopHeight = info->current_h;
    } else {
        desktopWidth = desktopHeight = 0;
        cConsole::WriteLine(STDERR_FILENO,
                            "Zagonetar: the desktop's size can't be read; full screen switches "
                            "the display to " +
                                std::to_string(width) + "x" + std::to_string(height) + ".",
                            MESSAGE_WAIT_MS);
    }
    windowScale = options.scale == cOptions::SCALE_AUTO
                      ? cViewport::AutoScale(desktopWidth, desktopHeight)
                      : std::max(1, options.scale);
    scaled = true;
    displayBpp = bpp;
    if (!OpenMode(options.fullscreen)) {
        const cViewport wanted = ViewFor(options.fullscreen);
        return {cLoadError::STANDARD_ERROR, "Zagonetar: the " +
                                                std::to_string(wanted.displayWidth) + "x" +
                                                std::to_string(wanted.displayHeight) +
                                                (options.fullscreen ? " full screen" : " window") +
                                                " could not be opened: " + SDL_GetError()};
    }
    // Later modes keep the depth of the first, so the picture's format always matches.
    displayBpp = surface->format->BitsPerPixel;
    if (!picture)
        return {cLoadError::STANDARD_ERROR,
                std::string("Zagonetar: no memory for the picture: ") + SDL_GetError()};
    pointerView = &view;
    SDL_SetEventFilter(MapPointer);
    return {};
}

void cDisplay::CloseScaled()
{
    if (!scaled)
        return;
    SDL_SetEventFilter(nullptr);
    pointerView = nullptr;
    if (picture != surface)
        SDL_FreeSurface(picture);
    picture = surface = nullptr;
    scaled = false;
}

void cDisplay::Present()
{
    if (!surface || !picture)
        return;
    if (!scaled) {
        SDL_Flip(surface);
        return;
    }
    const SDL_Rect changed = scaler.Present(picture, surface, view.x, view.y, view.scale);
    if (borderPending)
        SDL_UpdateRect(surface, 0, 0, 0, 0);
    else if (changed.h > 0)
        SDL_UpdateRect(surface, changed.x, changed.y, changed.w, changed.h);
    borderPending = false;
}

bool cDisplay::SetMode(bool toFullscreen)
{
    // A screen's own idea of the mode can be behind the display's: then there is
    // nothing to switch.
    if (scaled && surface && toFullscreen == fullscreen)
        return true;
    if (OpenMode(toFullscreen))
        return true;
    cConsole::WriteLine(STDERR_FILENO,
                        std::string("Zagonetar: could not switch to ") +
                            (toFullscreen ? "full screen" : "a window") + ": " + SDL_GetError(),
                        MESSAGE_WAIT_MS);
    if (OpenMode(!toFullscreen))
        return false;
    cConsole::WriteLine(STDERR_FILENO,
                        "Zagonetar: the display can't be opened again; closing the game.",
                        MESSAGE_WAIT_MS);
    // A picture of the game's own can still be drawn into, unseen.
    if (picture == surface)
        picture = nullptr;
    surface = nullptr;
    return false;
}

cViewport cDisplay::ViewFor(bool toFullscreen) const
{
    if (!toFullscreen)
        return cViewport::Window(windowScale);
    // Without the desktop's size, full screen is the 640 x 480 mode it always was.
    return desktopWidth ? cViewport::Letterbox(desktopWidth, desktopHeight) : cViewport::Window(1);
}

bool cDisplay::OpenMode(bool toFullscreen)
{
    const Uint32 flags = toFullscreen ? SDL_FULLSCREEN : 0;
    if (!scaled) {
        SDL_Surface* opened = setVideoMode(width, height, 32, flags);
        if (!opened)
            return false;
        picture = surface = opened;
        fullscreen = toFullscreen;
        return true;
    }
    // The desktop's own resolution in full screen, so the monitor's mode never changes.
    const cViewport next = ViewFor(toFullscreen);
    SDL_Surface* opened = setVideoMode(next.displayWidth, next.displayHeight, displayBpp, flags);
    if (!opened)
        return false;
    AdoptPicture(opened, next);
    surface = opened;
    view = next;
    fullscreen = toFullscreen;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    borderPending = true;
    scaler.Forget();
    return true;
}

void cDisplay::AdoptPicture(SDL_Surface* opened, const cViewport& next)
{
    // A window of the picture's own size is drawn into straight, as classic SDL's is:
    // a picture of its own would only cost memory. Any other mode has one.
    const bool own = next.scale != 1 || next.displayWidth != width || next.displayHeight != height;
    const bool hadOwn = picture && picture != surface;
    if (!own) {
        if (hadOwn)
            SDL_FreeSurface(picture);
        picture = opened;
        return;
    }
    if (hadOwn)
        return;
    const SDL_PixelFormat* f = opened->format;
    picture = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, f->BitsPerPixel, f->Rmask,
                                   f->Gmask, f->Bmask, f->Amask);
    if (picture && f->palette)
        SDL_SetPalette(picture, SDL_LOGPAL, f->palette->colors, 0, f->palette->ncolors);
}
