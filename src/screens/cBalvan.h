// One log of the seriation puzzle: where it stands, where it started, which slot it
// belongs in and which slot it stands in.
#pragma once

#include <SDL.h>
#include <cstdint>

class cBalvan
{
public:
    // Standing at (x, y), cut from the log sheet at `frame`, belonging in slot `target`.
    void Setup(int x, int y, const SDL_Rect* frame, int32_t target);
    const SDL_Rect& Frame() const { return *frame; }
    Uint16 FrameWidth() const { return frame->w; }
    Uint16 FrameHeight() const { return frame->h; }
    const SDL_Rect& GetRect() const { return rect; }
    // Strict on all four edges, like the buttons: a pointer on the border misses.
    bool Contains(int x, int y) const;
    void SetPosition(int x, int y);
    void SetSlot(int32_t index) { slotIndex = index; }
    int32_t GetSlot() const { return slotIndex; }
    int32_t GetTarget() const { return target; }
    void SetPlaced() { placed = true; }
    bool IsPlaced() const { return placed; }
    // Back to its starting column, out of any slot.
    void ReturnHome();
    // Out of its slot where it stands, to be carried elsewhere.
    void Lift() { placed = false; }

private:
    SDL_Rect rect = {0, 0, 0, 0};
    const SDL_Rect* frame = nullptr;
    int32_t target = 0;
    int32_t slotIndex = -1;
    int32_t homeX = 0;
    int32_t homeY = 0;
    bool placed = false;
};
