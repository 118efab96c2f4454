// Hit test, frame changes and drawing shared by the start button, the icon and the exit button.
#include "widgets/cDugmeSprajt.h"

cDugmeSprajt::cDugmeSprajt(SDL_Surface* sheet, const cLayout::cButton& layout)
    : sheet(sheet), normalFrame{0, 0, layout.frameWidth, layout.frameHeight},
      hoverFrame{static_cast<Sint16>(layout.frameWidth), 0, layout.frameWidth, layout.frameHeight},
      pressedFrame{static_cast<Sint16>(2 * layout.frameWidth), 0, layout.frameWidth,
                   layout.frameHeight},
      position(layout.hit), current(&normalFrame)
{
}

bool cDugmeSprajt::Inside(int mx, int my) const
{
    const int x = position.x, y = position.y, w = position.w, h = position.h;
    return x < mx && mx < x + w && y < my && my < y + h;
}

cDugmeSprajt::eReaction cDugmeSprajt::HandleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        hovered = Inside(event.motion.x, event.motion.y);
        if (hovered) {
            current = pressed ? &pressedFrame : &hoverFrame;
        } else {
            current = &normalFrame;
            pressed = false;
        }
        return MOVED;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT)
            return NOTHING;
        if (armsAnywhere)
            pressed = true;
        if (Inside(event.button.x, event.button.y)) {
            current = &pressedFrame;
            pressed = true;
        }
        return NOTHING;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT)
            return NOTHING;
        if (armsAnywhere)
            pressed = false;
        if (!Inside(event.button.x, event.button.y))
            return NOTHING;
        current = &hoverFrame;
        pressed = false;
        return CLICKED;
    default:
        return NOTHING;
    }
}

void cDugmeSprajt::Draw(SDL_Surface* target) const
{
    // A fresh destination: the blit writes its clipped size back into it.
    SDL_Rect at{position.x, position.y, 0, 0};
    SDL_Rect from = *current;
    SDL_BlitSurface(sheet, &from, target, &at);
}
