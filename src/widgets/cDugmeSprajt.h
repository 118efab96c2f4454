// What the three sprite buttons share: a sheet of three frames (normal, hover, pressed,
// left to right), a hit area, the frame on show, the armed flag, and how all of these
// follow the mouse.
#pragma once

#include "engine/cLayout.h"

#include <SDL.h>

class cDugmeSprajt
{
public:
    enum eReaction { NOTHING, MOVED, CLICKED };

    cDugmeSprajt(SDL_Surface* sheet, const cLayout::cButton& layout);

    // Strict on all four edges: a pointer on the rectangle's border is outside.
    bool Inside(int mx, int my) const;

    // Motion: hover inside, normal and disarmed outside, pressed when the pointer comes
    // back inside still armed (MOVED). A left press inside shows the pressed frame and
    // arms the button. A left release inside shows the hover frame, disarms and clicks
    // (CLICKED), even when the press began elsewhere.
    eReaction HandleEvent(const SDL_Event& event);

    void Draw(SDL_Surface* target) const;

    SDL_Surface* sheet;
    SDL_Rect normalFrame;
    SDL_Rect hoverFrame;
    SDL_Rect pressedFrame;
    SDL_Rect position;
    const SDL_Rect* current;
    bool pressed = false;
    // Whether the last motion was inside.
    bool hovered = false;
    // The exit button's way: any left press arms it and any left release disarms it,
    // wherever the pointer is.
    bool armsAnywhere = false;
};
