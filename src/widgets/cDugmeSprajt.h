// What the three sprite buttons share: a sheet of three frames (normal, hover,
// pressed, left to right), a hit area, the frame on show and the armed flag.
#pragma once

#include <SDL.h>

class cDugmeSprajt
{
public:
    cDugmeSprajt(SDL_Surface* sheet, Uint16 frameWidth, Uint16 frameHeight, int x, int y, int w,
                 int h);

    // Strict on all four edges: a pointer on the rectangle's border is outside.
    bool Inside(int mx, int my) const;

    // Pointer motion: hover inside, normal and disarmed outside, pressed when it comes
    // back inside still armed. Returns whether the pointer is inside.
    bool Motion(int mx, int my);
    // A left press inside shows the pressed frame and arms the button.
    void Press(int mx, int my);
    // After a click: hover frame, disarmed.
    void Released();

    void Draw(SDL_Surface* target) const;

    SDL_Surface* sheet;
    SDL_Rect normalFrame;
    SDL_Rect hoverFrame;
    SDL_Rect pressedFrame;
    SDL_Rect position;
    const SDL_Rect* current;
    bool pressed;
};
