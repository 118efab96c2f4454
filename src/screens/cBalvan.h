// One log of the seriation puzzle: where it stands, where it started, which slot it
// belongs in and which slot it stands in.
#pragma once

#include <SDL.h>
#include <cstdint>

class cGameEngine;

class cBalvan
{
public:
    void Setup(int x, int y, int w, int h, int target, cGameEngine* engine);
    void SetFrame(const SDL_Rect* clip) { this->clip = clip; }
    Uint16 FrameWidth() const { return clip->w; }
    Uint16 FrameHeight() const { return clip->h; }
    const SDL_Rect& GetRect() const { return rect; }
    void SetPosition(int x, int y);
    void SetSlot(int32_t index) { slotIndex = index; }
    int32_t GetSlot() const { return slotIndex; }
    int32_t GetTarget() const { return target; }
    void SetPlaced() { placed = true; }
    bool IsPlaced() const { return placed; }
    // Back to its starting column, out of any slot.
    void ReturnHome();
    void Draw(SDL_Surface* screen) const;

private:
    SDL_Surface* sheet = nullptr;
    SDL_Rect rect = {0, 0, 0, 0};
    const SDL_Rect* clip = nullptr;
    int32_t target = 0;
    int32_t slotIndex = -1;
    int32_t homeX = 0;
    int32_t homeY = 0;
    bool placed = false;
};
