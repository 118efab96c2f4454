// One slot of the seriation puzzle, marked by a flower. A free slot has a small catch
// area at the flower's top-left; an occupied one has none.
#pragma once

#include <SDL.h>
#include <cstdint>

class cMesto
{
public:
    void Setup(int x, int y, int32_t index);
    const SDL_Rect& GetRect() const { return rect; }
    int32_t GetIndex() const { return index; }
    int GetX() const { return rect.x; }
    int GetY() const { return rect.y; }
    void Occupy();
    void Vacate();
    bool IsOccupied() const { return occupied; }

private:
    SDL_Rect rect = {0, 0, 0, 0};
    bool occupied = false;
    int32_t index = 0;
};
