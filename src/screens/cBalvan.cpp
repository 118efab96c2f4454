// A log's moves.
#include "screens/cBalvan.h"

void cBalvan::Setup(int x, int y, const SDL_Rect* frame, int32_t target)
{
    this->frame = frame;
    rect = {static_cast<Sint16>(x), static_cast<Sint16>(y), frame->w, frame->h};
    homeX = x;
    homeY = y;
    this->target = target;
    slotIndex = -1;
    placed = false;
}

bool cBalvan::Contains(int x, int y) const
{
    return rect.x < x && x < rect.x + rect.w && rect.y < y && y < rect.y + rect.h;
}

void cBalvan::SetPosition(int x, int y)
{
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
}

void cBalvan::ReturnHome()
{
    placed = false;
    SetPosition(homeX, homeY);
}
