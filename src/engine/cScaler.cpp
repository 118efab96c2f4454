// Each source row is widened once into the first of its rows on the display, and that
// row is then copied below itself: all but one row in `scale` are plain memcpys.
#include "engine/cScaler.h"

#include <cstring>

namespace {

// The 32-bit displays every desktop has: a fixed count of copies per scale, which the
// compiler unrolls.
template <int N>
void Widen32(const Uint8* from, Uint8* to, int width)
{
    const Uint32* source = reinterpret_cast<const Uint32*>(from);
    Uint32* target = reinterpret_cast<Uint32*>(to);
    for (int i = 0; i < width; ++i)
        for (int k = 0; k < N; ++k)
            target[i * N + k] = source[i];
}

// Any depth, a pixel at a time.
void WidenAny(const Uint8* from, Uint8* to, int width, int bytes, int scale)
{
    for (int i = 0; i < width; ++i, from += bytes)
        for (int k = 0; k < scale; ++k, to += bytes)
            memcpy(to, from, static_cast<size_t>(bytes));
}

void Widen(const Uint8* from, Uint8* to, int width, int bytes, int scale)
{
    if (bytes == 4) {
        switch (scale) {
        case 1:
            memcpy(to, from, static_cast<size_t>(width) * 4);
            return;
        case 2:
            return Widen32<2>(from, to, width);
        case 3:
            return Widen32<3>(from, to, width);
        case 4:
            return Widen32<4>(from, to, width);
        }
    }
    WidenAny(from, to, width, bytes, scale);
}

// Rows first to first + count - 1 of `from`, enlarged.
void ScaleRows(SDL_Surface* from, SDL_Surface* to, int x, int y, int scale, int first, int count)
{
    if (SDL_MUSTLOCK(from) && SDL_LockSurface(from) < 0)
        return;
    if (SDL_MUSTLOCK(to) && SDL_LockSurface(to) < 0) {
        if (SDL_MUSTLOCK(from))
            SDL_UnlockSurface(from);
        return;
    }
    const int bytes = from->format->BytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(from->w) * bytes * scale;
    const Uint8* source = static_cast<const Uint8*>(from->pixels) + first * from->pitch;
    Uint8* target = static_cast<Uint8*>(to->pixels) + (y + first * scale) * to->pitch + x * bytes;
    for (int row = 0; row < count; ++row) {
        Widen(source, target, from->w, bytes, scale);
        for (int k = 1; k < scale; ++k)
            memcpy(target + k * to->pitch, target, rowBytes);
        source += from->pitch;
        target += scale * to->pitch;
    }
    if (SDL_MUSTLOCK(to))
        SDL_UnlockSurface(to);
    if (SDL_MUSTLOCK(from))
        SDL_UnlockSurface(from);
}

} // namespace

SDL_Rect cScaler::Present(SDL_Surface* from, SDL_Surface* to, int x, int y, int scale)
{
    // An idle screen redraws the same picture every frame; comparing it with the last
    // one costs a fraction of enlarging it and sending it to the display again.
    const size_t rowBytes = static_cast<size_t>(from->w) * from->format->BytesPerPixel;
    const Uint8* pixels = static_cast<const Uint8*>(from->pixels);
    auto same = [&](int row) {
        return memcmp(pixels + row * from->pitch, &last[row * rowBytes], rowBytes) == 0;
    };
    int first = 0;
    int end = from->h;
    if (last.empty()) {
        last.resize(rowBytes * from->h);
    } else {
        while (first < end && same(first))
            ++first;
        while (end > first && same(end - 1))
            --end;
    }
    for (int row = first; row < end; ++row)
        memcpy(&last[row * rowBytes], pixels + row * from->pitch, rowBytes);
    ScaleRows(from, to, x, y, scale, first, end - first);
    return {static_cast<Sint16>(x), static_cast<Sint16>(y + first * scale),
            static_cast<Uint16>(from->w * scale), static_cast<Uint16>((end - first) * scale)};
}
