// A log's moves and its drawing from the log sheet.
#include "screens/cBalvan.h"

#include "engine/cGameEngine.h"

void cBalvan::Setup(int x, int y, int w, int h, int target, cGameEngine* engine)
{
    rect = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
            static_cast<Uint16>(h)};
    homeX = x;
    homeY = y;
    this->target = target;
    placed = false;
    sheet = engine->images.balvaniSprajtmapa;
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

void cBalvan::Draw(SDL_Surface* screen) const
{
    // The blit writes the clipped size into its destination, and the drop rule needs
    // this log's own w and h untouched.
    SDL_Rect at{rect.x, rect.y, 0, 0};
    SDL_Rect from = *clip;
    SDL_BlitSurface(sheet, &from, screen, &at);
}
