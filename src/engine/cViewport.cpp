// Scales, offsets and the pointer's way back into the picture.
#include "engine/cViewport.h"

#include <algorithm>

int cViewport::AutoScale(int desktopWidth, int desktopHeight)
{
    // Whole numbers only: 10 N w <= 9 W, and the same for the heights.
    const int byWidth = desktopWidth * 9 / (cLayout::SCREEN_WIDTH * 10);
    const int byHeight = desktopHeight * 9 / (cLayout::SCREEN_HEIGHT * 10);
    return std::max(1, std::min(byWidth, byHeight));
}

cViewport cViewport::Window(int scale)
{
    cViewport view;
    view.scale = scale;
    view.displayWidth = view.PictureWidth();
    view.displayHeight = view.PictureHeight();
    return view;
}

cViewport cViewport::Letterbox(int displayWidth, int displayHeight)
{
    cViewport view;
    view.scale = std::max(
        1, std::min(displayWidth / cLayout::SCREEN_WIDTH, displayHeight / cLayout::SCREEN_HEIGHT));
    view.displayWidth = displayWidth;
    view.displayHeight = displayHeight;
    view.x = (displayWidth - view.PictureWidth()) / 2;
    view.y = (displayHeight - view.PictureHeight()) / 2;
    return view;
}

cLayout::cPoint cViewport::Map(int displayX, int displayY, bool* inside) const
{
    const int dx = displayX - x;
    const int dy = displayY - y;
    if (inside)
        *inside = dx >= 0 && dy >= 0 && dx < PictureWidth() && dy < PictureHeight();
    return {std::clamp(dx, 0, PictureWidth() - 1) / scale,
            std::clamp(dy, 0, PictureHeight() - 1) / scale};
}

bool cViewport::MapEvent(SDL_Event& event) const
{
    bool inside = true;
    if (event.type == SDL_MOUSEMOTION) {
        const cLayout::cPoint at = Map(event.motion.x, event.motion.y);
        event.motion.x = static_cast<Uint16>(at.x);
        event.motion.y = static_cast<Uint16>(at.y);
        event.motion.xrel = static_cast<Sint16>(event.motion.xrel / scale);
        event.motion.yrel = static_cast<Sint16>(event.motion.yrel / scale);
    } else if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) {
        const cLayout::cPoint at = Map(event.button.x, event.button.y, &inside);
        event.button.x = static_cast<Uint16>(at.x);
        event.button.y = static_cast<Uint16>(at.y);
    }
    return inside || event.type != SDL_MOUSEBUTTONDOWN;
}
