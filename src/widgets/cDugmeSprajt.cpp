// Hit test, frame changes and drawing shared by the start button, the icon and the exit button.
#include "widgets/cDugmeSprajt.h"

cDugmeSprajt::cDugmeSprajt(SDL_Surface* sheet, Uint16 frameWidth, Uint16 frameHeight, int x, int y,
                           int w, int h)
    : sheet(sheet), normalFrame{0, 0, frameWidth, frameHeight},
      hoverFrame{static_cast<Sint16>(frameWidth), 0, frameWidth, frameHeight},
      pressedFrame{static_cast<Sint16>(2 * frameWidth), 0, frameWidth, frameHeight},
      position{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
               static_cast<Uint16>(h)},
      current(&normalFrame), pressed(false)
{
}

bool cDugmeSprajt::Inside(int mx, int my) const
{
    const int x = position.x, y = position.y, w = position.w, h = position.h;
    return x < mx && mx < x + w && y < my && my < y + h;
}

bool cDugmeSprajt::Motion(int mx, int my)
{
    const bool inside = Inside(mx, my);
    if (inside) {
        current = &hoverFrame;
    } else {
        current = &normalFrame;
        pressed = false;
    }
    if (inside && pressed)
        current = &pressedFrame;
    return inside;
}

void cDugmeSprajt::Press(int mx, int my)
{
    if (Inside(mx, my)) {
        current = &pressedFrame;
        pressed = true;
    }
}

void cDugmeSprajt::Released()
{
    current = &hoverFrame;
    pressed = false;
}

void cDugmeSprajt::Draw(SDL_Surface* target) const
{
    // A fresh destination: the blit writes its clipped size back into it.
    SDL_Rect at{position.x, position.y, 0, 0};
    SDL_Rect from = *current;
    SDL_BlitSurface(sheet, &from, target, &at);
}
