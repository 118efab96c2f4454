// Where the game's 640 x 480 picture lies on a larger display, a whole number of times as
// large, and the way back from a display position to the picture's own.
#pragma once

#include "engine/cLayout.h"

#include <SDL.h>

class cViewport
{
public:
    // The largest whole scale whose window fits within 90 % of the desktop's width and
    // height; 1 when even the plain window does not.
    static int AutoScale(int desktopWidth, int desktopHeight);
    // A window exactly `scale` times the picture.
    static cViewport Window(int scale);
    // A display of the given size with the picture as large as fits, centred on black.
    static cViewport Letterbox(int displayWidth, int displayHeight);

    // The picture position under a display position, clamped to the picture's edge.
    // `inside`, when given, says whether the display position was on the picture.
    cLayout::cPoint Map(int displayX, int displayY, bool* inside = nullptr) const;
    // Turns a pointer event's display position into the picture's. Returns false for a
    // button press on the border, which the game never sees; a release is always kept,
    // so a drag that leaves the picture still ends.
    bool MapEvent(SDL_Event& event) const;

    int PictureWidth() const { return cLayout::SCREEN_WIDTH * scale; }
    int PictureHeight() const { return cLayout::SCREEN_HEIGHT * scale; }

    int scale = 1;
    // The picture's top-left corner on the display, and the display's size.
    int x = 0;
    int y = 0;
    int displayWidth = cLayout::SCREEN_WIDTH;
    int displayHeight = cLayout::SCREEN_HEIGHT;
};
