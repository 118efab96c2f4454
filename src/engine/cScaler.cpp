// Each source row is widened once into the first of its rows on the display, and that
// row is then copied below itself: all but one row in `scale` are plain memcpys.
#include "engine/cScaler.h"

#include <algorithm>
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

uint64_t cScaler::Fingerprint(const Uint8* bytes, size_t length)
{
    // Four independent lanes of multiply and rotate, so a change anywhere in a row
    // reaches every bit of the result and the processor can work on the lanes at once.
    const uint64_t K1 = 0x9E3779B185EBCA87ull, K2 = 0xC2B2AE3D27D4EB4Full;
    auto mix = [&](uint64_t lane, uint64_t word) {
        lane += word * K2;
        return ((lane << 31) | (lane >> 33)) * K1;
    };
    uint64_t lanes[4] = {K1, K2, ~K1, ~K2};
    size_t at = 0;
    for (; at + 32 <= length; at += 32)
        for (int k = 0; k < 4; ++k) {
            uint64_t word;
            memcpy(&word, bytes + at + 8 * k, 8);
            lanes[k] = mix(lanes[k], word);
        }
    for (; at + 8 <= length; at += 8) {
        uint64_t word;
        memcpy(&word, bytes + at, 8);
        lanes[0] = mix(lanes[0], word);
    }
    uint64_t tail = 0;
    memcpy(&tail, bytes + at, length - at);
    uint64_t h = length;
    for (uint64_t lane : lanes)
        h = mix(h, lane);
    h = mix(h, tail);
    h ^= h >> 29;
    h *= K1;
    return h ^ (h >> 32);
}

SDL_Rect cScaler::Present(SDL_Surface* from, SDL_Surface* to, int x, int y, int scale)
{
    // An idle screen redraws the same picture every frame; fingerprinting it costs a
    // fraction of enlarging it and sending it to the display again.
    const size_t rowBytes = static_cast<size_t>(from->w) * from->format->BytesPerPixel;
    if (SDL_MUSTLOCK(from) && SDL_LockSurface(from) < 0)
        return {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    const Uint8* pixels = static_cast<const Uint8*>(from->pixels);
    const bool fresh = last.size() != static_cast<size_t>(from->h);
    last.resize(static_cast<size_t>(from->h));
    int first = from->h;
    int end = 0;
    for (int row = 0; row < from->h; ++row) {
        const uint64_t print = Fingerprint(pixels + row * from->pitch, rowBytes);
        if (fresh || print != last[row]) {
            first = std::min(first, row);
            end = row + 1;
        }
        last[row] = print;
    }
    if (SDL_MUSTLOCK(from))
        SDL_UnlockSurface(from);
    if (end <= first)
        first = end = 0;
    else if (from != to)
        ScaleRows(from, to, x, y, scale, first, end - first);
    return {static_cast<Sint16>(x), static_cast<Sint16>(y + first * scale),
            static_cast<Uint16>(from->w * scale), static_cast<Uint16>((end - first) * scale)};
}
