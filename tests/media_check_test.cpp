// The picture, sound and music checks, against files that would have SDL_image allocate
// gigabytes or spin forever, SDL divide by zero, or the synthesizer flood standard error.
#include "resources/cMediaCheck.h"

#include <gtest/gtest.h>

using Bytes = std::vector<unsigned char>;
using M = cMediaCheck;
const auto B = [](const auto& literal) { return Bytes(literal, literal + sizeof literal - 1); };
const auto Cut = [](Bytes b, size_t size) { return b.resize(size), b; };
const auto Join = [](Bytes a, const Bytes& b) { return a.insert(a.end(), b.begin(), b.end()), a; };
const Bytes PNG = B("\x89PNG\r\n\x1a\n\0\0\0\r");
// A 1x1 GIF89a: the screen's sizes at 6, a two-colour table, graphic control, the image's at 32.
const Bytes GIF = B("GIF89a\1\0\1\0\x80\0\0\0\0\0\xff\xff\xff!\xf9\4\1\0\0\0\0,\0\0\0\0\1\0\1\0\0"
                    "\2\2D\1\0;");
// 22050 Hz mono 16-bit PCM, two samples: the format chunk's size at 16, then its fields.
const Bytes WAV =
    B("RIFF(\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x22V\0\0D\xac\0\0\2\0\x10\0data\4\0\0\0\0\1\0\2");
// 22050 Hz mono 16-bit AIFF, two frames: channels at 20, frames at 22, bits at 26, rate at 28.
const Bytes AIFF = B("FORM\0\0\0\x32"
                     "AIFFCOMM\0\0\0\x12\0\1\0\0\0\2\0\x10\x40\x0d\xac\x44\0\0\0\0"
                     "\0\0SSND\0\0\0\x0c\0\0\0\0\0\0\0\0\0\1\0\2");

// `b` with the `width`-byte little-endian field at `at` set to `value`.
const auto Set = [](Bytes b, size_t at, uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        b[at + i] = value >> 8 * i;
    return b;
};

// A one-track MIDI file around the given events.
const auto Midi = [](const Bytes& events) {
    const Bytes track = Join(events, B("\0\xff\x2f\0"));
    Bytes length(4);
    for (int i = 0; i < 4; ++i)
        length[i] = track.size() >> 8 * (3 - i);
    return Join(Join(B("MThd\0\0\0\6\0\0\0\1\0\x60MTrk"), length), track);
};

// `count` notes: a delta time, a note on and unless `held` its note off; key -1: a new key each.
const auto Notes = [](int count, unsigned char delta, bool held, int key = -1) {
    Bytes events;
    for (int i = 0; i < count; ++i) {
        const unsigned char channel = i / 100 % 16, k = key < 0 ? 10 + i % 100 : key;
        events.insert(events.end(), {delta, static_cast<unsigned char>(0x90 | channel), k, 64});
        if (!held)
            events.insert(events.end(), {0, static_cast<unsigned char>(0x80 | channel), k, 0});
    }
    return events;
};

const auto Check = [](const Bytes& b, auto* m) { return M::CheckGif(b.data(), b.size(), m); };
const auto Playable = [](const Bytes& b) { return M::IsPlayableWav(b.data(), b.size()); };
const auto Music = [](const Bytes& b) { return M::IsPlayableMusic(b.data(), b.size()); };

TEST(MediaCheckTest, GifsAreWalkedBlockByBlockAndEverySizeIsBounded)
{
    // Sizes of the screen (at 6) or the first image (at 32), and whether the game shows them.
    const uint32_t sizes[][4] = {{6, 0, 10, 0},      {6, 16384, 10, 0},  {6, 16383, 32767, 0},
                                 {32, 2049, 1, 0},   {32, 1, 0, 0},      {6, 1, 1, 1},
                                 {6, 2048, 2048, 1}, {32, 2048, 2048, 1}};
    std::string message;
    for (auto [at, w, h, shown] : sizes) {
        message.clear();
        const std::string refusal = "the picture declares " + std::to_string(w) + "x" +
                                    std::to_string(h) + " pixels; at most 2048x2048 can be shown";
        EXPECT_EQ(Check(Set(GIF, at, w | h << 16, 4), &message), shown ? M::OK : M::REFUSED)
            << refusal << ", at " << at;
        EXPECT_EQ(message, shown ? "" : refusal);
    }

    // Only the trailer may be cut off: SDL_image would spin forever on some shorter files.
    for (size_t size = 6; size < GIF.size(); ++size)
        EXPECT_EQ(Check(Cut(GIF, size), &message), size == GIF.size() - 1 ? M::OK : M::REFUSED)
            << size << " bytes";
    EXPECT_EQ(message, "the picture is cut short");

    // Bytes no GIF holds where they stand, each a refusal with its reason.
    const std::pair<Bytes, std::string> refused[] = {
        // A second image 8000 pixels wide, after a good one.
        {Join(Cut(GIF, GIF.size() - 1), B(",\0\0\0\0\x40\x1f\1\0\0\2\2D\1\0;")),
         "the picture declares 8000x1 pixels; at most 2048x2048 can be shown"},
        // A 65535x2 image behind one junk byte that SDL_image would skip.
        {B("GIF89a\1\0\1\0\0\0\0\0,\0\0\0\0\xff\xff\2\0\0\x08\2\0\1\0;"),
         "the picture holds a byte a GIF can't hold at offset 13"},
        {B("GIF89a\1\0\1\0\0\0\0!\xfe"), "the picture is cut short"},
        {Set(GIF, 37, 12, 1), "the picture has an image with a code size of 12"},
        {Set(GIF, 21, 3, 1), "the picture has a broken control block"},
        {B("GIF87a\1\0\1\0\0\0\0;"), "the picture holds no image"},
    };
    for (const auto& [bytes, why] : refused) {
        EXPECT_EQ(Check(bytes, &message), M::REFUSED) << why;
        EXPECT_EQ(message, why);
    }
    for (const Bytes& b : {PNG, B("GIF88a\1\0\1\0\0\0\0;"), B("GIF")})
        EXPECT_EQ(Check(b, &message), M::NOT_GIF);
}

TEST(MediaCheckTest, OnlyWavsEveryReaderReadsAlikeAndSdlCanPlayPass)
{
    // The format's size (at 16), tag (20), channels (22), rate (24), block size (32), bits (34)
    // and the data's size (40): each value, its width and whether SDL plays it rather than
    // dividing by zero, reading past the end or decoding ADPCM.
    const uint32_t fields[][4] = {
        {16, 16, 4, 1}, {16, 15, 4, 0},   {16, 0xFFFFFFF0, 4, 0}, {20, 2, 2, 0},
        {22, 0, 2, 0},  {22, 3, 2, 0},    {24, 4000, 4, 1},       {24, 192000, 4, 1},
        {24, 0, 4, 0},  {24, 3999, 4, 0}, {24, 192001, 4, 0},     {24, 2000000000, 4, 0},
        {32, 0, 2, 0},  {32, 4, 2, 0},    {34, 24, 2, 0},         {40, 0xFFFFFFF0, 4, 0}};
    EXPECT_TRUE(Playable(Set(Set(WAV, 32, 1, 2), 34, 8, 2))) << "8-bit mono";
    for (auto [at, value, width, playable] : fields)
        EXPECT_EQ(Playable(Set(WAV, at, value, width)), playable == 1) << value << " at " << at;

    const auto chunk = [](const char* id, uint32_t size, size_t body) {
        return Join(Set(Join(Bytes(id, id + 4), Bytes(4)), 4, size, 4), Bytes(body));
    };
    const Bytes head = Cut(WAV, 12), format = Bytes(WAV.begin() + 12, WAV.begin() + 36),
                data = Bytes(WAV.begin() + 36, WAV.end());
    // A sane format three bytes into a "fact" that SDL 1.2 reads a byte later than a reader that
    // skips the pad byte of the odd "LIST" before it; SDL 1.2 then meets a format of no channels.
    Bytes fact = chunk("fact", 256, 256);
    std::copy(format.begin(), format.end(), fact.begin() + 11);
    const std::pair<Bytes, bool> layouts[] = {
        {Join(Join(Join(Join(head, chunk("LIST", 1, 2)), fact), Set(format, 10, 0, 2)), data),
         false},
        {Join(Join(Join(head, chunk("LIST", 4, 4)), format), data), true},
        {Join(Join(Join(head, chunk("junk", 4, 4)), format), data), false},
        {Join(Join(Join(head, format), format), data), false},
        {Join(Join(head, data), format), false},
        {Join(Join(head, format), Set(data, 4, 3, 4)), true}, // odd samples and their pad
        {Join(Join(Join(head, format), data), chunk("LIST", 2, 2)), true},
        {Join(Join(Join(head, format), data), format), false},
        {Cut(WAV, WAV.size() - 1), false},
        // A length of "WAVE": SDL 1.2 reads from 8 a chunk "WAVE" of 544501094 ("fmt ") bytes.
        {Join(B("RIFFWAVE"), Bytes(WAV.begin() + 8, WAV.end())), false},
    };
    for (const auto& [bytes, playable] : layouts)
        EXPECT_EQ(Playable(bytes), playable) << testing::PrintToString(bytes);
    for (const Bytes& b : {PNG, Cut(WAV, 11), Cut(WAV, 30), AIFF})
        EXPECT_FALSE(Playable(b)) << b.size() << " bytes";
}

TEST(MediaCheckTest, MusicIsCheckedAsWavAiffOrMidiAndOtherKindsPassToTheMixer)
{
    const auto aiff = [](Bytes b) { return M::IsPlayableAiff(b.data(), b.size()); };
    EXPECT_TRUE(aiff(AIFF));
    // Channels, frames, bits and the rate's exponent: each would crash or mislead a reader.
    for (auto [at, value] : {std::pair{21, 0}, {21, 3}, {25, 3}, {27, 24}, {29, 0x1e}, {28, 0x3f}})
        EXPECT_FALSE(aiff(Set(AIFF, at, value, 1))) << value << " at " << at;
    EXPECT_FALSE(aiff(Set(AIFF, 45, 0x0b, 1))) << "an odd sound chunk";
    EXPECT_FALSE(aiff(Cut(AIFF, 38))) << "no sound chunk";

    // The 144-byte "aladin.mid" that crashed the game: a WAV of no channels.
    const Bytes silent = Join(Set(Cut(WAV, 36), 22, 0, 2), Join(B("data\x64\0\0\0"), Bytes(100)));
    EXPECT_EQ(silent.size(), 144u);
    // clang-format off
    const std::pair<Bytes, bool> tunes[] = {
        {silent, false}, {WAV, true}, {AIFF, true}, {Set(AIFF, 21, 0, 1), false},
        {B("OggS and the rest"), true}, {Midi(Notes(128, 0, true)), true},
        {Midi(Notes(129, 0, true)), false}, {Midi(Notes(200000, 0, true)), false},
        {Midi(Notes(1000, 0, false)), false},   // a thousand short notes in one tick
        {Midi(Notes(1000, 1, false)), true},    // the same one after another
        {Midi(Notes(1000, 1, true, 36)), true}, // one drum struck again and again, never let go
        {Cut(Midi(Notes(3, 1, false)), 30), false},
        {Midi(B("\0\x40\1")), false},                            // data with no status before it
        {Midi(B("\0\x90\x40\x40\0\x41\x40\x01\xf1\0")), false}, // running status, a stray message
    };
    // clang-format on
    for (const auto& [bytes, playable] : tunes)
        EXPECT_EQ(Music(bytes), playable) << bytes.size() << " bytes";
}
