// Enlarges the game's picture a whole number of times, each pixel becoming a square, and
// presents only what changed since the last frame.
#pragma once

#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <vector>

class cScaler
{
public:
    // Draws the rows of `from` that differ from the picture of the last call (all of them
    // after Forget), `scale` times as large, into `to` with the picture's top-left at (x, y).
    // Both surfaces have the same pixel format, of any depth; `from` is a software surface
    // and the enlarged picture lies wholly inside `to`. `from` may be `to` itself, at
    // scale 1 and (0, 0): then nothing is drawn, only the changed rows told. Returns the
    // display rectangle that changed, 0 high when nothing had.
    SDL_Rect Present(SDL_Surface* from, SDL_Surface* to, int x, int y, int scale);
    // The display was cleared: the next Present draws the whole picture.
    void Forget() { last.clear(); }

    // A 64-bit fingerprint of `length` bytes, fast enough to take of every row each frame.
    static uint64_t Fingerprint(const Uint8* bytes, size_t length);

private:
    // The fingerprint of each row of the last picture presented: a copy of the picture
    // would cost as much memory again as the picture itself.
    std::vector<uint64_t> last;
};
