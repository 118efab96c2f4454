// The built archives: the game finds every asset, and each picture, sound and the tune fits where
// it is used.
#include "engine/cLayout.h"
#include "resources/cAssetNames.h"
#include "resources/cResourceArchive.h"
#include "widgets/cTekst.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using L = cLayout;
using Bytes = std::vector<unsigned char>;

Bytes Entry(const std::string& archive, const std::string& name)
{
    unsigned char* data = nullptr;
    uint32_t size = 0;
    std::string error;
    EXPECT_EQ(cResourceArchive::Find(ZAGONETAR_GAME_DIR "/" + archive, name, &data, &size, &error),
              cResourceArchive::FOUND)
        << name << " in " << archive << ": " << error;
    Bytes bytes(data, data + (data ? size : 0));
    std::free(data);
    return bytes;
}

// A decoded GIF: 8 bits deep, its colour key invisible.
struct cPicture
{
    cPicture(const std::string& archive, const std::string& name)
    {
        Bytes bytes = Entry(archive, name);
        SDL_RWops* rw = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
        s = IMG_LoadGIF_RW(rw);
        SDL_FreeRW(rw);
        EXPECT_TRUE(s && s->format->BitsPerPixel == 8) << name << ": " << IMG_GetError();
    }
    ~cPicture() { SDL_FreeSurface(s); }
    bool Keyed() const { return s->flags & SDL_SRCCOLORKEY; }
    bool Visible(int x, int y) const
    {
        return !Keyed() ||
               static_cast<const Uint8*>(s->pixels)[y * s->pitch + x] != s->format->colorkey;
    }
    // Every cell holds `ink` visible pixels or more (all of them for -1), and none lie outside the
    // cells.
    void ExpectInkOnlyIn(const std::vector<SDL_Rect>& cells, int ink) const
    {
        ASSERT_NE(s, nullptr);
        std::vector<int> inked(cells.size());
        int stray = 0;
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) {
                int cellsHere = 0;
                for (size_t i = 0; i < cells.size(); ++i)
                    if (x >= cells[i].x && x < cells[i].x + cells[i].w && y >= cells[i].y &&
                        y < cells[i].y + cells[i].h)
                        cellsHere += 1, inked[i] += Visible(x, y);
                stray += Visible(x, y) && cellsHere == 0;
            }
        EXPECT_EQ(stray, 0);
        for (size_t i = 0; i < cells.size(); ++i)
            EXPECT_GE(inked[i], ink < 0 ? cells[i].w * cells[i].h : ink)
                << "cell at " << cells[i].x << "," << cells[i].y;
    }
    SDL_Surface* s = nullptr;
};

TEST(Assets, PicturesFitWhereTheScreensDrawThem)
{
    // Backdrops fill the screen; button sheets hold three frames side by side.
    for (auto [name, w, h] :
         {std::tuple{"sivo.gif", L::SCREEN_WIDTH, L::SCREEN_HEIGHT},
          {"pejzaz-s.gif", L::SCREEN_WIDTH, L::SCREEN_HEIGHT},
          {"sss_bez_balvana.gif", L::SCREEN_WIDTH, L::SCREEN_HEIGHT},
          {"start_sprajtmapa.gif", 3 * L::START_BUTTON.frameWidth, L::START_BUTTON.frameHeight},
          {"serijacija_ikonica_sprajtmapa.gif", 3 * L::ACTIVITY_ICON.frameWidth,
           L::ACTIVITY_ICON.frameHeight},
          {"dugme_izlaz_sprajtmapa.gif", 3 * L::EXIT_BUTTON.frameWidth,
           L::EXIT_BUTTON.frameHeight}}) {
        cPicture p(cAssetNames::IMAGE_ARCHIVE, name);
        ASSERT_NE(p.s, nullptr);
        EXPECT_EQ(std::pair(p.s->w, p.s->h), std::pair(w, h)) << name;
    }
    // The dialog, title and credit stay inside the screen where they are drawn.
    for (auto [name, at] : {std::pair{"meni_da.gif", L::DIALOG},
                            {"meni_ne.gif", L::DIALOG},
                            {"naziv_aplikacije.gif", L::TITLE},
                            {"programer.gif", L::CREDIT}}) {
        cPicture p(cAssetNames::IMAGE_ARCHIVE, name);
        ASSERT_NE(p.s, nullptr);
        EXPECT_LE(at.x + p.s->w, L::SCREEN_WIDTH) << name;
        EXPECT_LE(at.y + p.s->h, L::SCREEN_HEIGHT) << name;
    }
    EXPECT_NE(Entry(cAssetNames::IMAGE_ARCHIVE, "meni_da.gif"),
              Entry(cAssetNames::IMAGE_ARCHIVE, "meni_ne.gif"));

    // Each log fills its frame, and a pixel outside would be drawn with a neighbour.
    cPicture(cAssetNames::IMAGE_ARCHIVE, "balvani_sprajtmapa.gif")
        .ExpectInkOnlyIn(std::vector<SDL_Rect>(L::LOG_FRAMES, L::LOG_FRAMES + L::COLUMN_COUNT), -1);

    std::vector<SDL_Rect> cells;
    for (int c = 0; c < 256; ++c)
        if (const cTekst::cGlyph* g = cTekst::Glyph(static_cast<unsigned char>(c)))
            cells.push_back({g->x, g->y, g->w, cTekst::GLYPH_HEIGHT});
    cPicture(cAssetNames::FONT_ARCHIVE, cAssetNames::FONT)
        .ExpectInkOnlyIn(cells, 9); // unkeyed, it would be inked all over
}

TEST(Assets, EveryWavLoadsWithASensibleLengthAndTheTuneIsWellFormed)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 4096), 0) << Mix_GetError();
    for (auto [name, shortest, longest] : {std::tuple{"klik.wav", 0.01, 0.2},
                                           {"prijava.wav", 0.2, 1.0},
                                           {"odjava.wav", 0.2, 1.0},
                                           {"ubac.wav", 0.05, 0.6},
                                           {"aplauz.wav", 2.0, 3.0},
                                           {"ponovo.wav", 0.3, 1.5}}) {
        Bytes bytes = Entry(cAssetNames::SOUND_ARCHIVE, name);
        Mix_Chunk* chunk =
            Mix_LoadWAV_RW(SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        const double seconds = chunk->alen / 4.0 / 22050.0; // 16-bit stereo
        EXPECT_TRUE(seconds >= shortest && seconds <= longest)
            << name << " lasts " << seconds << " s";
        Mix_FreeChunk(chunk);
    }

    // The tune plays through the mixer's MIDI synthesizer.
    Bytes d = Entry(cAssetNames::SOUND_ARCHIVE, cAssetNames::MUSIC);
    SDL_RWops* rw = SDL_RWFromMem(d.data(), static_cast<int>(d.size()));
    Mix_Music* music = Mix_LoadMUS_RW(rw);
    EXPECT_NE(music, nullptr) << Mix_GetError();
    Mix_FreeMusic(music);
    SDL_FreeRW(rw);
    Mix_CloseAudio();
    SDL_Quit();
}

} // namespace
