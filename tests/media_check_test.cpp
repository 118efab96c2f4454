// The picture and sound header checks, against headers made to have SDL_image allocate
// gigabytes or SDL_mixer divide by zero.
#include "resources/cMediaCheck.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using Bytes = std::vector<unsigned char>;

// A one-pixel GIF89a declaring a screen of sw x sh and a first image of iw x ih, after a
// two-colour table and a graphic control extension.
Bytes Gif(unsigned sw, unsigned sh, unsigned iw, unsigned ih)
{
    Bytes b = {'G',  'I',  'F',  '8', '9', 'a', 0, 0, 0, 0, 0x80, 0, 0, // screen, two colours
               0,    0,    0,    255, 255, 255,                         // colour table
               0x21, 0xF9, 4,    1,   0,   0,   0, 0,                   // graphic control
               0x2C, 0,    0,    0,   0,   0,   0, 0, 0, 0,             // image descriptor
               2,    2,    0x44, 1,   0,   0x3B};                       // one pixel, trailer
    for (int i = 0; i < 2; ++i) {
        b[6 + i] = sw >> 8 * i, b[8 + i] = sh >> 8 * i;
        b[32 + i] = iw >> 8 * i, b[34 + i] = ih >> 8 * i;
    }
    return b;
}

Bytes Cut(Bytes b, size_t size)
{
    b.resize(size);
    return b;
}

// A 22050 Hz mono 16-bit PCM header and two samples.
Bytes Beep()
{
    return {'R', 'I', 'F', 'F', 40,  0,   0,   0,   'W',  'A',  'V', 'E', 'f',  'm',  't', ' ',
            16,  0,   0,   0,   1,   0,   1,   0,   0x22, 0x56, 0,   0,   0x44, 0xAC, 0,   0,
            2,   0,   16,  0,   'd', 'a', 't', 'a', 4,    0,    0,   0,   0,    1,    0,   2};
}
const Bytes PNG = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13};

// The beep with `width` bytes at `at` replaced by `value`.
Bytes Wav(size_t at = 0, uint32_t value = 0, int width = 0, Bytes b = Beep())
{
    for (int i = 0; i < width; ++i)
        b[at + i] = value >> 8 * i;
    return b;
}

TEST(MediaCheckTest, GifSizesBeyondWhatCanBeShownAreRefusedBeforeDecoding)
{
    const char shell[] = "GIF89a\0\0\0\0\0\0\0,\0\0\0\0\0\0\0\0\0\2\2D\1\0;"; // from printf
    const std::vector<std::tuple<const char*, Bytes, cMediaCheck::eGifResult, std::string>> cases =
        {
            {"0x0", Bytes(shell, shell + sizeof shell - 1), cMediaCheck::BAD_SIZE, "0x0 pixels"},
            {"width 0", Gif(0, 10, 1, 1), cMediaCheck::BAD_SIZE, "0x10"},
            {"width 16384", Gif(16384, 10, 1, 1), cMediaCheck::BAD_SIZE, "16384x10"},
            {"16383x32767", Gif(16383, 32767, 1, 1), cMediaCheck::BAD_SIZE,
             "the picture declares 16383x32767 pixels; at most 2048x2048 can be shown"},
            {"first image over the limit", Gif(10, 10, 2049, 1), cMediaCheck::BAD_SIZE, "2049x1"},
            {"small", Gif(1, 1, 1, 1), cMediaCheck::OK, ""},
            {"at the limit", Gif(2048, 2048, 2048, 2048), cMediaCheck::OK, ""},
            {"PNG", PNG, cMediaCheck::NOT_GIF_OR_SHORT, ""},
            {"cut in the screen", Cut(Gif(1, 1, 1, 1), 9), cMediaCheck::NOT_GIF_OR_SHORT, ""},
            {"cut in the extension", Cut(Gif(1, 1, 1, 1), 23), cMediaCheck::NOT_GIF_OR_SHORT, ""},
            {"cut in the image", Cut(Gif(1, 1, 1, 1), 35), cMediaCheck::NOT_GIF_OR_SHORT, ""},
        };
    for (const auto& [what, bytes, want, says] : cases) {
        std::string message;
        EXPECT_EQ(cMediaCheck::CheckGif(bytes.data(), bytes.size(), &message), want) << what;
        EXPECT_NE(message.find(says), std::string::npos) << what << ": " << message;
    }
}

TEST(MediaCheckTest, OnlyWavsSdlMixerCanPlayPass)
{
    Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0}; // odd size, padded
    Bytes listed = Wav();
    listed.insert(listed.begin() + 12, list.begin(), list.end());
    const std::vector<std::tuple<const char*, Bytes, bool>> cases = {
        {"22050 Hz mono PCM", Wav(), true},
        {"after an odd-sized chunk", listed, true},
        {"stereo", Wav(22, 2, 2), true},
        {"4000 Hz", Wav(24, 4000, 4), true},
        {"192000 Hz", Wav(24, 192000, 4), true},
        {"0 channels", Wav(22, 0, 2), false},
        {"3 channels", Wav(22, 3, 2), false},
        {"0 Hz", Wav(24, 0, 4), false},
        {"1 Hz", Wav(24, 1, 4), false},
        {"3999 Hz", Wav(24, 3999, 4), false},
        {"192001 Hz", Wav(24, 192001, 4), false},
        {"2000000000 Hz", Wav(24, 2000000000, 4), false},
        {"ADPCM, block size 0", Wav(32, 0, 2, Wav(20, 2, 2)), false},
        {"format chunk of 14 bytes", Wav(16, 14, 4), false},
        {"not RIFF", PNG, false},
        {"cut in the header", Cut(Wav(), 11), false},
        {"cut in the format chunk", Cut(Wav(), 30), false},
        {"chunk larger than the file", Wav(16, 0xFFFFFFF0, 4), false},
    };
    for (const auto& [what, bytes, playable] : cases)
        EXPECT_EQ(cMediaCheck::IsPlayableWav(bytes.data(), bytes.size()), playable) << what;
}

} // namespace
