// Picture, sound and music checks.
#include "resources/cMediaCheck.h"

#include <bitset>
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

uint32_t Be16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) << 8 | p[1];
}

uint32_t Be32(const unsigned char* p)
{
    return Be16(p) << 16 | Be16(p + 2);
}

bool SideFits(uint32_t side)
{
    return side > 0 && side <= cMediaCheck::MAX_PICTURE_SIDE;
}

// Steps onto the body of the chunk at *at: a four-letter id, a 32-bit length in the file's
// byte order, then that many bytes. False when the header or the body runs past the end.
bool NextChunk(const unsigned char* data, size_t size, bool bigEndian, size_t* at,
               const unsigned char** id, uint32_t* length)
{
    if (size - *at < 8)
        return false;
    *id = data + *at;
    *length = bigEndian ? Be32(data + *at + 4) : Le32(data + *at + 4);
    *at += 8;
    return *length <= size - *at;
}

bool PlayableFormat(uint32_t channels, uint32_t rate, uint32_t bits)
{
    return (channels == 1 || channels == 2) && rate >= 4000 && rate <= 192000 &&
           (bits == 8 || bits == 16);
}

// Skips a run of GIF sub-blocks ending in a zero-length one; false when the data ends first.
bool SkipSubBlocks(const unsigned char* data, size_t size, size_t* at)
{
    while (*at < size && data[*at] != 0)
        *at += 1 + data[*at];
    if (*at >= size)
        return false;
    ++*at;
    return true;
}

// A MIDI variable-length number: at most four bytes, seven bits each.
bool ReadVarLength(const unsigned char* data, size_t end, size_t* at, uint32_t* value)
{
    *value = 0;
    for (int i = 0; i < 4 && *at < end; ++i) {
        const unsigned char b = data[(*at)++];
        *value = *value << 7 | (b & 0x7F);
        if (!(b & 0x80))
            return true;
    }
    return false;
}

// The most notes one track can have sounding within a single tick: those held from before,
// and every note started in that tick, even one stopped again in it, since the synthesizer
// gives each a voice. A key struck again while held replaces its note, and a drum nobody
// stops stays counted. 0 when the track is not well formed.
uint32_t PeakNotes(const unsigned char* data, size_t at, size_t end, bool* wellFormed)
{
    std::bitset<16 * 128> down; // by channel and key
    uint32_t held = 0, stoppedThisTick = 0, peak = 0;
    unsigned char status = 0;
    while (at < end) {
        uint32_t delta = 0;
        if (!ReadVarLength(data, end, &at, &delta) || at >= end)
            return *wellFormed = false, 0;
        if (delta > 0)
            stoppedThisTick = 0;
        if (data[at] & 0x80)
            status = data[at++];
        if (status == 0xFF || status == 0xF0 || status == 0xF7) { // meta and system exclusive
            if (status == 0xFF && at++ >= end)
                return *wellFormed = false, 0;
            uint32_t length = 0;
            if (!ReadVarLength(data, end, &at, &length) || length > end - at)
                return *wellFormed = false, 0;
            at += length;
            status = 0; // these end running status
            continue;
        }
        if (status < 0x80 || status > 0xEF)
            return *wellFormed = false, 0; // data with no status, or a real-time message
        const unsigned kind = status >> 4;
        const size_t dataBytes = kind == 0xC || kind == 0xD ? 1 : 2;
        if (end - at < dataBytes || (data[at] & 0x80) || (dataBytes == 2 && (data[at + 1] & 0x80)))
            return *wellFormed = false, 0;
        const size_t key = (status & 0x0F) * 128u + data[at];
        if (kind == 0x9 && data[at + 1] > 0) {
            if (down[key])
                ++stoppedThisTick;
            else
                ++held;
            down[key] = true;
            if (held + stoppedThisTick > peak)
                peak = held + stoppedThisTick;
        } else if ((kind == 0x8 || kind == 0x9) && down[key]) {
            down[key] = false;
            --held;
            ++stoppedThisTick;
        }
        at += dataBytes;
    }
    return peak;
}

bool IsPlayableMidi(const unsigned char* data, size_t size)
{
    // The header: "MThd", length 6, format, track count, division.
    if (size < 14 || Be32(data + 4) != 6)
        return false;
    const uint32_t tracks = Be16(data + 10);
    uint32_t found = 0;
    uint64_t notes = 0;
    size_t at = 14;
    while (found < tracks) {
        const unsigned char* id = nullptr;
        uint32_t length = 0;
        if (!NextChunk(data, size, true, &at, &id, &length))
            return false;
        if (memcmp(id, "MTrk", 4) == 0) {
            bool wellFormed = true;
            // Tracks sound together: their peaks added are the most the tune can sound.
            notes += PeakNotes(data, at, at + length, &wellFormed);
            if (!wellFormed || notes > cMediaCheck::MAX_NOTES_AT_ONCE)
                return false;
            ++found;
        }
        at += length;
    }
    return true;
}

// The whole number an AIFF's 80-bit rate holds, as SDL_mixer reads it: only exponents of
// 2^0 to 2^29 are read alike by every reader, so anything else is 0.
uint32_t AiffRate(const unsigned char* p)
{
    if (p[0] != 0x40 || p[1] > 29)
        return 0;
    const uint32_t top = static_cast<uint32_t>(p[2]) << 23 | static_cast<uint32_t>(p[3]) << 15 |
                         static_cast<uint32_t>(p[4]) << 7 | p[5] >> 1;
    return top >> (29 - p[1]);
}

} // namespace

cMediaCheck::eGifResult cMediaCheck::CheckGif(const unsigned char* data, size_t size,
                                              std::string* message)
{
    if (size < 6 || (memcmp(data, "GIF87a", 6) != 0 && memcmp(data, "GIF89a", 6) != 0))
        return NOT_GIF;
    const auto refuse = [&](const std::string& why) {
        *message = why;
        return REFUSED;
    };
    const auto tooLarge = [&](uint32_t w, uint32_t h) {
        return refuse("the picture declares " + std::to_string(w) + "x" + std::to_string(h) +
                      " pixels; at most " + std::to_string(MAX_PICTURE_SIDE) + "x" +
                      std::to_string(MAX_PICTURE_SIDE) + " can be shown");
    };
    const auto cut = [&] { return refuse("the picture is cut short"); };
    // The logical screen: width, height, flags, background, aspect; its colour table.
    if (size < 13)
        return cut();
    if (!SideFits(Le16(data + 6)) || !SideFits(Le16(data + 8)))
        return tooLarge(Le16(data + 6), Le16(data + 8));
    size_t at = 13;
    if (data[10] & 0x80)
        at += 3u << ((data[10] & 7) + 1);
    bool imageSeen = false;
    // Blocks until the trailer; a file may also end after an image without one.
    while (at < size) {
        const unsigned char block = data[at];
        if (block == 0x3B)
            return imageSeen ? OK : refuse("the picture holds no image");
        if (block == 0x21) { // extension: its label, then sub-blocks
            // A graphic control block is always four bytes; SDL_image reads four.
            if (size - at < 3 || (data[at + 1] == 0xF9 && data[at + 2] != 4))
                return size - at < 3 ? cut() : refuse("the picture has a broken control block");
            at += 2;
            if (!SkipSubBlocks(data, size, &at))
                return cut();
            continue;
        }
        if (block != 0x2C)
            return refuse("the picture holds a byte a GIF can't hold at offset " +
                          std::to_string(at));
        // Image: left, top, width, height, flags, its colour table, code size, sub-blocks.
        if (size - at < 10)
            return cut();
        const uint32_t w = Le16(data + at + 5), h = Le16(data + at + 7);
        if (!SideFits(w) || !SideFits(h))
            return tooLarge(w, h);
        const unsigned char flags = data[at + 9];
        at += 10;
        if (flags & 0x80)
            at += 3u << ((flags & 7) + 1);
        if (at >= size)
            return cut();
        if (data[at] < 2 || data[at] > 8)
            return refuse("the picture has an image with a code size of " +
                          std::to_string(data[at]));
        ++at;
        if (!SkipSubBlocks(data, size, &at))
            return cut();
        imageSeen = true;
    }
    return imageSeen ? OK : cut();
}

bool cMediaCheck::IsPlayableWav(const unsigned char* data, size_t size)
{
    if (size < 12 || memcmp(data, "RIFF", 4) != 0 || memcmp(data + 8, "WAVE", 4) != 0)
        return false;
    // SDL 1.2 takes a length of "WAVE" for a file written without one, and reads chunks
    // from four bytes earlier than everyone else.
    if (memcmp(data + 4, "WAVE", 4) == 0)
        return false;
    // Chunks: a four-letter id, a 32-bit size, the data. SDL 1.2 reads no pad byte after an
    // odd-sized chunk where other readers do, so an odd size is refused except for the
    // samples at the very end; and it takes the format only from the first chunk that is
    // not "fact" or "LIST". After the samples, a second format or more samples are refused:
    // readers that go on would take them where SDL 1.2 has stopped.
    size_t at = 12;
    bool formatSeen = false, onlyNotes = true, dataSeen = false;
    uint32_t blockSize = 0;
    while (at < size) {
        const unsigned char* id = nullptr;
        uint32_t length = 0;
        if (!NextChunk(data, size, false, &at, &id, &length))
            return false;
        const bool isData = memcmp(id, "data", 4) == 0, isFormat = memcmp(id, "fmt ", 4) == 0;
        if (dataSeen && (isData || isFormat))
            return false;
        if (isData) {
            if (!formatSeen || length < blockSize)
                return false;
            dataSeen = true;
            if (length & 1)
                return size - at - length <= 1; // nothing but the pad byte after it
        } else if (length & 1) {
            return false;
        }
        if (isFormat) {
            // Format tag, channels, sample rate, bytes a second, block size, bits a sample.
            if (formatSeen || !onlyNotes || length < 16 || Le16(data + at) != 1)
                return false;
            const uint32_t channels = Le16(data + at + 2), bits = Le16(data + at + 14);
            blockSize = Le16(data + at + 12);
            if (!PlayableFormat(channels, Le32(data + at + 4), bits) ||
                blockSize != channels * bits / 8)
                return false;
            formatSeen = true;
        } else if (!isData && memcmp(id, "fact", 4) != 0 && memcmp(id, "LIST", 4) != 0) {
            onlyNotes = false;
        }
        at += length;
    }
    return dataSeen;
}

bool cMediaCheck::IsPlayableAiff(const unsigned char* data, size_t size)
{
    if (size < 12 || memcmp(data, "FORM", 4) != 0 || memcmp(data + 8, "AIFF", 4) != 0)
        return false;
    size_t at = 12;
    uint64_t frameBytes = 0, soundBytes = 0;
    bool common = false, sound = false;
    while (at < size) {
        const unsigned char* id = nullptr;
        uint32_t length = 0;
        if (!NextChunk(data, size, true, &at, &id, &length) || (length & 1))
            return false;
        if (memcmp(id, "COMM", 4) == 0) {
            // Channels, frames, bits a sample, the rate.
            if (common || length < 18)
                return false;
            const uint32_t channels = Be16(data + at), bits = Be16(data + at + 6);
            if (!PlayableFormat(channels, AiffRate(data + at + 8), bits))
                return false;
            frameBytes = static_cast<uint64_t>(Be32(data + at + 2)) * channels * (bits / 8);
            common = true;
        } else if (memcmp(id, "SSND", 4) == 0) {
            // The offset to the first sample, a block size, the samples.
            if (sound || length < 8 || Be32(data + at) > length - 8)
                return false;
            soundBytes = length - 8 - Be32(data + at);
            sound = true;
        }
        at += length;
    }
    return common && sound && frameBytes > 0 && frameBytes <= soundBytes;
}

bool cMediaCheck::IsPlayableMusic(const unsigned char* data, size_t size)
{
    if (size >= 4 && memcmp(data, "RIFF", 4) == 0)
        return IsPlayableWav(data, size);
    if (size >= 4 && memcmp(data, "FORM", 4) == 0)
        return IsPlayableAiff(data, size);
    if (size >= 4 && memcmp(data, "MThd", 4) == 0)
        return IsPlayableMidi(data, size);
    return true;
}
