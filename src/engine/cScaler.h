// Enlarges the game's picture a whole number of times, each pixel becoming a square, and
// presents only what changed since the last frame.
#pragma once

#include <SDL.h>
#include <vector>

class cScaler
{
public:
    // Draws the rows of `from` that differ from the picture of the last call (all of them
    // after Forget), `scale` times as large, into `to` with the picture's top-left at (x, y).
    // Both surfaces have the same pixel format, of any depth; `from` is a software surface
    // and the enlarged picture lies wholly inside `to`. Returns the display rectangle it
    // drew, 0 high when nothing had changed.
    SDL_Rect Present(SDL_Surface* from, SDL_Surface* to, int x, int y, int scale);
    // The display was cleared: the next Present draws the whole picture.
    void Forget() { last.clear(); }

private:
    std::vector<Uint8> last;
};
