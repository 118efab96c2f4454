// The header checks, against files that would have SDL_image allocate gigabytes or SDL_mixer
// divide by zero.
#include "resources/cMediaCheck.h"

#include <gtest/gtest.h>

using Bytes = std::vector<unsigned char>;
using M = cMediaCheck;
const auto B = [](const auto& literal) { return Bytes(literal, literal + sizeof literal - 1); };
const auto Cut = [](Bytes b, size_t size) { return b.resize(size), b; };
const Bytes PNG = B("\x89PNG\r\n\x1a\n\0\0\0\r");
// A 1x1 GIF89a: the screen's sizes at 6, a two-colour table, graphic control, the image's at 32.
const Bytes GIF = B("GIF89a\1\0\1\0\x80\0\0\0\0\0\xff\xff\xff!\xf9\4\1\0\0\0\0,\0\0\0\0\1\0\1\0\0"
                    "\2\2D\1\0;");
// 22050 Hz mono 16-bit PCM, two samples: the format chunk's size at 16, then its fields.
const Bytes WAV =
    B("RIFF(\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x22V\0\0D\xac\0\0\2\0\x10\0data\4\0\0\0\0\1\0\2");

// `b` with the `width`-byte little-endian field at `at` set to `value`.
static Bytes Set(Bytes b, size_t at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        b[at + i] = value >> 8 * i;
    return b;
}

const auto Check = [](const Bytes& b, auto* m) { return M::CheckGif(b.data(), b.size(), m); };
const auto Playable = [](const Bytes& b) { return M::IsPlayableWav(b.data(), b.size()); };

TEST(MediaCheckTest, GifSizesBeyondWhatCanBeShownAreRefusedBeforeDecoding)
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
        EXPECT_EQ(Check(Set(GIF, at, w | h << 16, 4), &message), shown ? M::OK : M::BAD_SIZE)
            << refusal << ", at " << at;
        EXPECT_EQ(message, shown ? "" : refusal);
    }
    // As printf makes it: no colour table, no extension, all sizes 0.
    EXPECT_EQ(Check(B("GIF89a\0\0\0\0\0\0\0,\0\0\0\0\0\0\0\0\0\2\2D\1\0;"), &message), M::BAD_SIZE);
    EXPECT_EQ(message, "the picture declares 0x0 pixels; at most 2048x2048 can be shown");
    // Not a GIF, or cut in the screen, the extension or the image: SDL_image has its say.
    for (const Bytes& b : {PNG, Cut(GIF, 12), Cut(GIF, 23), Cut(GIF, 35)})
        EXPECT_EQ(Check(b, &message), M::NOT_GIF_OR_SHORT) << b.size() << " bytes";
}

TEST(MediaCheckTest, OnlyWavsSdlMixerCanPlayPass)
{
    // The format chunk's size (at 16), channels (at 22) and rate (at 24): each value, its field's
    // width and whether SDL_mixer plays it rather than dividing by zero or reading past the end.
    const uint32_t fields[][4] = {{16, 16, 4, 1},         {16, 18, 4, 1},        {16, 15, 4, 0},
                                  {16, 0xFFFFFFF0, 4, 0}, {22, 1, 2, 1},         {22, 2, 2, 1},
                                  {22, 0, 2, 0},          {22, 3, 2, 0},         {24, 4000, 4, 1},
                                  {24, 192000, 4, 1},     {24, 0, 4, 0},         {24, 3999, 4, 0},
                                  {24, 192001, 4, 0},     {24, 2000000000, 4, 0}};
    for (auto [at, value, width, playable] : fields)
        EXPECT_EQ(Playable(Set(WAV, at, value, width)), playable == 1) << value << " at " << at;
    Bytes listed = WAV; // the format after an odd-sized chunk and its pad byte
    listed.insert(listed.begin() + 12, {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0});
    EXPECT_TRUE(Playable(listed));
    // ADPCM with a block size of 0, not RIFF, cut in the header or in the format chunk.
    for (const Bytes& b : {Set(Set(WAV, 20, 2, 2), 32, 0, 2), PNG, Cut(WAV, 11), Cut(WAV, 30)})
        EXPECT_FALSE(Playable(b)) << b.size() << " bytes";
}
