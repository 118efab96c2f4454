// How the game's 640 x 480 picture reaches the monitor: SDL's video, the window or full
// screen, F11, the picture enlarged for a big screen, and the pointer mapped back into it.
#pragma once

#include "engine/cOptions.h"
#include "engine/cScaler.h"
#include "engine/cViewport.h"
#include "resources/cLoadError.h"

#include <SDL.h>

class cDisplay
{
public:
    cDisplay() = default;
    cDisplay(const cDisplay&) = delete;
    cDisplay& operator=(const cDisplay&) = delete;

    // Starts SDL and opens the display. Without display options on classic SDL the
    // picture is the `width` x `height` window itself; otherwise it is a surface of its
    // own, presented enlarged (or as it is, in the plain window). On failure SDL is shut down again
    // and the result says what to tell the player.
    cLoadError Open(const char* title, int width, int height, int bpp, const cOptions& options);
    // Lets go of the picture and shuts SDL down, sound and all.
    void Close();

    // Tells SDL how to draw for a game like this one, before it starts; whatever the
    // player has set in the environment is left as it is.
    static void ChooseSdlSettings();
    // Whether SDL 1.2 is sdl12-compat, over SDL 2, rather than classic SDL 1.2. There
    // every frame is presented by the game itself, options or none: see Open.
    static bool OverSdl2();

    // Shows the frame drawn into the picture: flipped, or enlarged into the display.
    void Present();
    // Full screen or a window. When the new mode can't be had, the old one is restored and
    // false returned; when neither works the display is lost (IsOpen turns false). With
    // display options the full screen keeps the desktop's resolution and the window is
    // the scaled one.
    bool SetMode(bool toFullscreen);

    // What every screen draws into; null when there is nothing to draw on.
    SDL_Surface* Picture() const { return picture; }
    bool IsOpen() const { return surface != nullptr; }
    bool Fullscreen() const { return fullscreen; }

    // The mode setter, replaceable so a test can make a switch fail.
    SDL_Surface* (*setVideoMode)(int, int, int, Uint32) = SDL_SetVideoMode;

private:
    // Sets the video mode for a window or full screen, and adopts it. On failure the
    // surfaces are left as they were.
    bool OpenMode(bool toFullscreen);
    // Where the picture goes in a window or in full screen when scaled.
    cViewport ViewFor(bool toFullscreen) const;
    // The picture for a mode just opened: the mode's own surface, or one of the
    // game's own that is kept across modes.
    void AdoptPicture(SDL_Surface* opened, const cViewport& next);
    cLoadError OpenScaled(int bpp, const cOptions& options);
    void CloseScaled();

    SDL_Surface* picture = nullptr;
    // The surface of the mode SDL set; the picture itself in a window of its size.
    SDL_Surface* surface = nullptr;
    bool fullscreen = false;
    int width = 0;
    int height = 0;
    // Read before the first mode is set, 0 when SDL can't tell; the window's scale.
    int desktopWidth = 0;
    int desktopHeight = 0;
    bool scaled = false;
    int windowScale = 1;
    int displayBpp = 0;
    cViewport view;
    // The black border is drawn with a mode change; the frame after it updates the
    // whole display, later frames only the picture.
    bool borderPending = false;
    cScaler scaler;
};
