// The picture and sound header checks, against headers made to have SDL_image allocate
// gigabytes or SDL_mixer divide by zero.
#include "resources/cMediaCheck.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using Bytes = std::vector<unsigned char>;

// The bytes of a string literal, its terminating zero left out.
const auto B = [](const auto& literal) { return Bytes(literal, literal + sizeof literal - 1); };

// `b` with the `width`-byte little-endian field at `at` set to `value`, then cut to `size`.
Bytes Set(Bytes b, size_t at, uint32_t value, int width = 2, size_t size = SIZE_MAX)
{
    for (int i = 0; i < width; ++i)
        b[at + i] = value >> 8 * i;
    b.resize(std::min(size, b.size()));
    return b;
}

// A one-pixel GIF89a with its screen sw x sh and first image iw x ih: screen and two-colour
// table, graphic control, image descriptor at 27, the pixel and the trailer.
Bytes Gif(unsigned sw, unsigned sh, unsigned iw = 1, unsigned ih = 1, size_t size = SIZE_MAX)
{
    const Bytes b = B("GIF89a\0\0\0\0\x80\0\0\0\0\0\xff\xff\xff!\xf9\4\1\0\0\0\0,\0\0\0\0\0\0\0\0\0"
                      "\2\2D\1\0;");
    return Set(Set(Set(Set(b, 6, sw), 8, sh), 32, iw), 34, ih, 2, size);
}

// A 22050 Hz mono 16-bit PCM WAV of two samples (the format chunk at 12), one field changed.
Bytes Wav(size_t at = 0, uint32_t value = 'R', int width = 1, size_t size = SIZE_MAX)
{
    const Bytes b = B("RIFF(\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x22V\0\0D\xac\0\0\2\0\x10\0"
                      "data\4\0\0\0\0\1\0\2");
    return Set(b, at, value, width, size);
}

const Bytes PNG = B("\x89PNG\r\n\x1a\n\0\0\0\r");

TEST(MediaCheckTest, GifSizesBeyondWhatCanBeShownAreRefusedBeforeDecoding)
{
    for (const auto& [what, bytes, want, declared] :
         std::vector<std::tuple<const char*, Bytes, cMediaCheck::eGifResult, const char*>>{
             {"0x0 from printf", B("GIF89a\0\0\0\0\0\0\0,\0\0\0\0\0\0\0\0\0\2\2D\1\0;"),
              cMediaCheck::BAD_SIZE, "0x0"},
             {"width 0", Gif(0, 10), cMediaCheck::BAD_SIZE, "0x10"},
             {"width 16384", Gif(16384, 10), cMediaCheck::BAD_SIZE, "16384x10"},
             {"16383x32767", Gif(16383, 32767), cMediaCheck::BAD_SIZE, "16383x32767"},
             {"first image over", Gif(10, 10, 2049, 1), cMediaCheck::BAD_SIZE, "2049x1"},
             {"first image of height 0", Gif(10, 10, 1, 0), cMediaCheck::BAD_SIZE, "1x0"},
             {"1x1", Gif(1, 1), cMediaCheck::OK, nullptr},
             {"at the limit", Gif(2048, 2048, 2048, 2048), cMediaCheck::OK, nullptr},
             {"PNG", PNG, cMediaCheck::NOT_GIF_OR_SHORT, nullptr},
             {"cut in the screen", Gif(1, 1, 1, 1, 12), cMediaCheck::NOT_GIF_OR_SHORT, nullptr},
             {"cut in the extension", Gif(1, 1, 1, 1, 23), cMediaCheck::NOT_GIF_OR_SHORT, nullptr},
             {"cut in the image", Gif(1, 1, 1, 1, 35), cMediaCheck::NOT_GIF_OR_SHORT, nullptr}}) {
        std::string message;
        EXPECT_EQ(cMediaCheck::CheckGif(bytes.data(), bytes.size(), &message), want) << what;
        EXPECT_EQ(message, declared ? "the picture declares " + std::string(declared) +
                                          " pixels; at most 2048x2048 can be shown"
                                    : "")
            << what;
    }
}

TEST(MediaCheckTest, OnlyWavsSdlMixerCanPlayPass)
{
    Bytes listed = Wav(); // after an odd-sized chunk and its pad byte
    const Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    listed.insert(listed.begin() + 12, list.begin(), list.end());
    for (const auto& [what, bytes, playable] : std::vector<std::tuple<const char*, Bytes, bool>>{
             {"22050 Hz mono PCM", Wav(), true},
             {"after an odd-sized chunk", listed, true},
             {"stereo", Wav(22, 2), true},
             {"4000 Hz", Wav(24, 4000, 4), true},
             {"192000 Hz", Wav(24, 192000, 4), true},
             {"0 channels", Wav(22, 0), false},
             {"3 channels", Wav(22, 3), false},
             {"0 Hz", Wav(24, 0, 4), false},
             {"3999 Hz", Wav(24, 3999, 4), false},
             {"192001 Hz", Wav(24, 192001, 4), false},
             {"2000000000 Hz", Wav(24, 2000000000, 4), false},
             {"ADPCM, block size 0", Set(Wav(20, 2, 2), 32, 0), false},
             {"format chunk of 14 bytes", Wav(16, 14, 4), false},
             {"not RIFF", PNG, false},
             {"RIFF but not WAVE", Wav(8, 'A'), false},
             {"cut in the header", Wav(0, 'R', 1, 11), false},
             {"no format chunk", Wav(0, 'R', 1, 12), false},
             {"cut in the format chunk", Wav(0, 'R', 1, 30), false},
             {"chunk larger than the file", Wav(16, 0xFFFFFFF0, 4), false}})
        EXPECT_EQ(cMediaCheck::IsPlayableWav(bytes.data(), bytes.size()), playable) << what;
}

} // namespace
