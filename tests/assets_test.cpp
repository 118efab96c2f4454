// The built archives as the player meets them: each picture at its source's size, with the
// source's colours in a few known places and clear where it draws nothing; the sounds; the tune.
#include "cHeadlessGame.h"
#include "resources/cMediaCheck.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

using Bytes = std::vector<unsigned char>;
const int CLEAR = -1; // nothing drawn: the colour key lets what lies behind show

const auto Entry = [](const char* archive, const char* name) {
    const std::string bytes = cHeadlessGame::Entry(cHeadlessGame::Built(archive), name);
    EXPECT_FALSE(bytes.empty()) << name;
    return Bytes(bytes.begin(), bytes.end());
};

// The colour at (x, y) as 0xRRGGBB, or CLEAR.
const auto Colour = [](const SDL_Surface* s, int x, int y) {
    const Uint8 i = static_cast<const Uint8*>(s->pixels)[y * s->pitch + x];
    const SDL_Color c = s->format->palette->colors[i];
    const bool keyed = (s->flags & SDL_SRCCOLORKEY) && i == s->format->colorkey;
    return keyed ? CLEAR : c.r << 16 | c.g << 8 | c.b;
};

TEST(Assets, EveryPictureHasItsSourcesSizeAndColoursAndIsClearWhereItDrawsNothing)
{
    using Dots = std::vector<std::array<int, 3>>; // x, y and the colour there, or CLEAR
    // clang-format off
    const std::tuple<const char*, int, int, Dots> pictures[] = {
        // The sky's top and bottom stops; the glow's centre, e6ebf0 at 0.9 over the sky.
        {"sivo.gif", 640, 480, {{320, 0, 0xd3dae1}, {320, 479, 0xa7b2bc}, {320, 250, 0xe2e7ec}}},
        // Three frames: left of the button, its disc, triangle, shadow; hover's ring; the ring
        // below the pressed button.
        {"start_sprajtmapa.gif", 3 * 215, 102, {{2, 50, CLEAR}, {31, 46, 0xffffff},
         {45, 46, 0x2e9e3c}, {100, 93, 0x1d6b27}, {218, 50, 0xffe066}, {530, 98, 0xffe066}}},
        // The sky's top stop, the sun's face, the sign's face.
        {"pejzaz-s.gif", 640, 480, {{320, 0, 0x3fa9f5}, {78, 65, 0xffd93b}, {241, 250, 0xfff6dc}}},
        // Three frames: round corner, tile, red and blue sticks; hover's rim; pressed's tile.
        {"serijacija_ikonica_sprajtmapa.gif", 3 * 47, 37, {{0, 0, CLEAR}, {5, 20, 0xfff3c4},
         {11, 28, 0xe53935}, {35, 20, 0x1e63d6}, {48, 18, 0xff8f1f}, {99, 20, 0xf0d98a}}},
        // The sky's top stop; the plain sky the logs start in, halfway to eaf6fd; the pond.
        {"sss_bez_balvana.gif", 640, 480, {{320, 0, 0xcde7f7}, {270, 145, 0xdceffa},
         {570, 435, 0x7cc6ee}}},
        // Above the fourth log; the bands of logs 1, 3, 9 and 10; the first log's dark rim.
        {"balvani_sprajtmapa.gif", 284, 198, {{100, 0, CLEAR}, {14, 119, 0x1e63d6},
         {70, 132, 0xe53935}, {241, 175, 0xffffff}, {269, 181, 0x2b2b2b}, {0, 100, 0x3a1f0b}}},
        // Three frames: left of the button, its arrow, shadow; hover's glow; pressed's arrow.
        {"dugme_izlaz_sprajtmapa.gif", 3 * 89, 75, {{1, 37, CLEAR}, {55, 34, 0xffffff},
         {44, 69, 0xa34b00}, {90, 37, 0xfff176}, {233, 40, 0xffffff}}},
        // Corners (the flower's beside its stem); its yellow heart and top petal; the top bar of
        // the title's red Z; the stem of the I in "Igru".
        {"cvet.gif", 15, 21, {{0, 0, CLEAR}, {14, 20, CLEAR}, {7, 7, 0xffd21f}, {7, 1, 0xff4f8b}}},
        {"naziv_aplikacije.gif", 568, 96, {{0, 0, CLEAR}, {567, 95, CLEAR}, {75, 15, 0xe53935}}},
        {"programer.gif", 602, 22, {{0, 0, CLEAR}, {601, 21, CLEAR}, {80, 10, 0x33415c}}},
        // Opaque, framed in blue; the chosen answer yellow with the pointer, the other grey.
        {"meni_da.gif", 256, 128, {{0, 0, 0x2f4a8a}, {175, 60, 0xffd21f}, {175, 100, 0xe9e6dc},
         {45, 67, 0xe65100}, {45, 105, 0xfff8e1}}},
        {"meni_ne.gif", 256, 128, {{255, 127, 0x2f4a8a}, {175, 60, 0xe9e6dc}, {175, 100, 0xffd21f},
         {45, 67, 0xfff8e1}, {45, 105, 0xe65100}}},
        // Two rows of 19: before the '!', its ink stem and white halo.
        {"fnt.gif", 986, 38, {{0, 0, CLEAR}, {6, 6, 0x1f2a6b}, {4, 6, 0xffffff}}},
    };
    // clang-format on
    for (const auto& [name, w, h, dots] : pictures) {
        // Decoded 8 bits deep as the game decodes it, if the header passes the game's check.
        Bytes b = Entry(std::string(name) == "fnt.gif" ? "fntres001.bin" : "imgres001.bin", name);
        std::string why;
        ASSERT_EQ(cMediaCheck::CheckGif(b.data(), b.size(), &why), cMediaCheck::OK)
            << name << " fails the header check " << why;
        SDL_Surface* s = IMG_Load_RW(SDL_RWFromMem(b.data(), int(b.size())), 1);
        ASSERT_TRUE(s && s->format->BitsPerPixel == 8) << name << ": " << IMG_GetError();
        EXPECT_TRUE(s->w == w && s->h == h) << name << " is " << s->w << "x" << s->h;
        bool seeThrough = false; // needs the key; an opaque picture with one would show holes
        for (auto [x, y, want] : dots) {
            const int got = Colour(s, x, y); // GIF's 256 colours move a colour a little
            const bool near =
                got == CLEAR || want == CLEAR ? got == want : cHeadlessGame::Near(got, want, 12);
            EXPECT_TRUE(near) << name << " at " << x << "," << y << std::hex << ": " << got;
            seeThrough |= want == CLEAR;
        }
        EXPECT_EQ(bool(s->flags & SDL_SRCCOLORKEY), seeThrough) << name;
        SDL_FreeSurface(s);
    }
}

TEST(Assets, EverySoundPlaysAsLongAndAsLoudAsItsNotesAndTheTunePassesTheCheck)
{
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 1, 4096), 0) << Mix_GetError();
    // The synthesiser's table: lengths in its 22050 mono frames a second (0.95 s is 20947), peaks.
    const std::tuple<const char*, int, double> sounds[] = {
        {"prijava.wav", 20947, 0.7}, {"odjava.wav", 21609, 0.7}, {"klik.wav", 1323, 0.45},
        {"aplauz.wav", 57330, 0.6},  {"ubac.wav", 6615, 0.75},   {"ponovo.wav", 24255, 0.6}};
    for (auto [name, frames, peak] : sounds) {
        Bytes b = Entry("sndres001.bin", name);
        ASSERT_TRUE(cMediaCheck::IsPlayableWav(b.data(), b.size())) << name << " would crash SDL";
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromMem(b.data(), int(b.size())), 1);
        ASSERT_TRUE(chunk && chunk->alen == Uint32(frames * 2)) << name << " " << Mix_GetError();
        // As loud as the table says; silent at both ends, so that it never clicks.
        const Sint16* sample = reinterpret_cast<const Sint16*>(chunk->abuf);
        const auto [lowest, highest] = std::minmax_element(sample, sample + frames);
        EXPECT_NEAR(std::max(-*lowest, int(*highest)) / 32767.0, peak, 0.01) << name;
        EXPECT_TRUE(std::abs(sample[0]) < 330 && std::abs(sample[frames - 1]) < 330) << name;
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
    Bytes tune = Entry("sndres001.bin", "aladin.mid");
    EXPECT_TRUE(cMediaCheck::IsPlayableMusic(tune.data(), tune.size()));
}
