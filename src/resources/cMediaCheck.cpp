// GIF and WAV header checks.
#include "resources/cMediaCheck.h"

#include <cstdint>
#include <cstring>

namespace {

uint32_t Le16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t Le32(const unsigned char* p)
{
    return Le16(p) | Le16(p + 2) << 16;
}

bool SideFits(uint32_t side)
{
    return side > 0 && side <= cMediaCheck::MAX_PICTURE_SIDE;
}

} // namespace

cMediaCheck::eGifResult cMediaCheck::CheckGif(const unsigned char* data, size_t size,
                                              std::string* message)
{
    // Signature, then the logical screen descriptor: width, height, flags, two more bytes.
    if (size < 13 || (memcmp(data, "GIF87a", 6) != 0 && memcmp(data, "GIF89a", 6) != 0))
        return NOT_GIF_OR_SHORT;
    uint32_t w = Le16(data + 6), h = Le16(data + 8);
    size_t at = 13;
    if (data[10] & 0x80)
        at += 3u << ((data[10] & 7) + 1); // the global colour table
    // Extensions come before the first image; each is a run of sub-blocks ending in 0.
    while (SideFits(w) && SideFits(h)) {
        if (at >= size)
            return NOT_GIF_OR_SHORT;
        if (data[at] == 0x2C) { // image descriptor: left, top, width, height, flags
            if (size - at < 10)
                return NOT_GIF_OR_SHORT;
            w = Le16(data + at + 5);
            h = Le16(data + at + 7);
            if (SideFits(w) && SideFits(h))
                return OK;
            break;
        }
        if (data[at] != 0x21)
            return NOT_GIF_OR_SHORT; // no image at all: SDL_image will say so
        at += 2;
        while (at < size && data[at] != 0)
            at += 1 + data[at];
        ++at;
    }
    *message = "the picture declares " + std::to_string(w) + "x" + std::to_string(h) +
               " pixels; at most " + std::to_string(MAX_PICTURE_SIDE) + "x" +
               std::to_string(MAX_PICTURE_SIDE) + " can be shown";
    return BAD_SIZE;
}

bool cMediaCheck::IsPlayableWav(const unsigned char* data, size_t size)
{
    if (size < 12 || memcmp(data, "RIFF", 4) != 0 || memcmp(data + 8, "WAVE", 4) != 0)
        return false;
    // Chunks: a four-letter id, a 32-bit size, the data padded to an even length.
    size_t at = 12;
    while (size - at >= 8) {
        const uint64_t length = Le32(data + at + 4);
        at += 8;
        if (length > size - at)
            return false;
        if (memcmp(data + at - 8, "fmt ", 4) == 0) {
            // Format tag, channels, sample rate, bytes a second, block size, bits a sample.
            if (length < 16)
                return false;
            const uint32_t channels = Le16(data + at + 2), rate = Le32(data + at + 4);
            return (channels == 1 || channels == 2) && rate >= 4000 && rate <= 192000 &&
                   Le16(data + at + 12) != 0;
        }
        at += length + (length & 1);
        if (at > size)
            return false;
    }
    return false;
}
