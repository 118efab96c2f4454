// A slot's occupation and its flower.
#include "screens/cMesto.h"

#include "engine/cGameEngine.h"

void cMesto::Setup(int x, int y, int32_t index, cGameEngine* engine)
{
    rect = {static_cast<Sint16>(x), static_cast<Sint16>(y), 3, 3};
    occupied = false;
    this->index = index;
    marker = engine->images.cvet;
}

void cMesto::Occupy()
{
    rect.w = rect.h = 0;
    occupied = true;
}

void cMesto::Vacate()
{
    rect.w = rect.h = 3;
    occupied = false;
}

void cMesto::Draw(SDL_Surface* screen, bool visible) const
{
    if (!visible)
        return;
    SDL_Rect at{rect.x, rect.y, 0, 0};
    SDL_BlitSurface(marker, nullptr, screen, &at);
}
