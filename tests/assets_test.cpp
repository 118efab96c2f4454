// The built archives: pictures the game accepts, sized and inked for where they are drawn; sounds.
#include "engine/cLayout.h"
#include "resources/cAssetNames.h"
#include "resources/cMediaCheck.h"
#include "resources/cResourceArchive.h"
#include "widgets/cTekst.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using L = cLayout;
using Bytes = std::vector<unsigned char>;

static Bytes Entry(const char* archive, const char* name)
{
    unsigned char* data = nullptr;
    uint32_t size = 0;
    std::string error, path = ZAGONETAR_GAME_DIR "/" + std::string(archive);
    EXPECT_EQ(cResourceArchive::Find(path, name, &data, &size, &error), cResourceArchive::FOUND)
        << name << ": " << error;
    Bytes bytes(data, data + (data ? size : 0));
    std::free(data);
    return bytes;
}

// Decoded 8 bits deep as the game decodes it, if the header passes the game's check.
static SDL_Surface* Picture(const char* archive, const char* name)
{
    Bytes b = Entry(archive, name);
    std::string why;
    const bool accepted = cMediaCheck::CheckGif(b.data(), b.size(), &why) == cMediaCheck::OK;
    EXPECT_TRUE(accepted) << name << " fails the header check " << why;
    SDL_Surface* s = accepted ? IMG_Load_RW(SDL_RWFromMem(b.data(), int(b.size())), 1) : nullptr;
    EXPECT_TRUE(s && s->format->BitsPerPixel == 8) << name << ": " << IMG_GetError();
    return s;
}

// The pixels in `r` that are not the colour key; all of them when the picture has none.
static int Ink(const SDL_Surface* s, const SDL_Rect& r)
{
    int ink = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            ink += !(s->flags & SDL_SRCCOLORKEY) ||
                   static_cast<const Uint8*>(s->pixels)[y * s->pitch + x] != s->format->colorkey;
    return ink;
}

// Every cell holds `least` visible pixels or more (all of them for -1), and none lie outside the
// cells: a stray pixel would be drawn beside a neighbouring log or letter.
static void ExpectInkOnlyIn(SDL_Surface* s, const std::vector<SDL_Rect>& cells, int least)
{
    ASSERT_TRUE(s);
    for (SDL_Rect c : cells)
        EXPECT_TRUE(c.x + c.w <= s->w && c.y + c.h <= s->h &&
                    Ink(s, c) >= (least < 0 ? c.w * c.h : least))
            << "cell at " << c.x << "," << c.y;
    for (SDL_Rect c : cells)
        SDL_FillRect(s, &c, s->format->colorkey);
    EXPECT_EQ(Ink(s, {0, 0, Uint16(s->w), Uint16(s->h)}), 0) << "ink outside the cells";
    SDL_FreeSurface(s);
}

TEST(Assets, PicturesPassTheHeaderCheckFitWhereTheyAreDrawnAndSheetsInkOnlyTheirFrames)
{
    std::map<std::string, std::pair<int, int>> size;
    for (const cAssetNames::cPicture& p : cAssetNames::PICTURES)
        if (SDL_Surface* s = Picture(cAssetNames::IMAGE_ARCHIVE, p.name))
            size[p.name] = {s->w, s->h}, SDL_FreeSurface(s);
    for (const char* backdrop : {"sivo.gif", "pejzaz-s.gif", "sss_bez_balvana.gif"})
        EXPECT_EQ(size[backdrop], std::pair(L::SCREEN_WIDTH, L::SCREEN_HEIGHT)) << backdrop;
    // Button sheets hold three frames side by side.
    for (auto [name, b] : {std::pair{"start_sprajtmapa.gif", L::START_BUTTON},
                           {"serijacija_ikonica_sprajtmapa.gif", L::ACTIVITY_ICON},
                           {"dugme_izlaz_sprajtmapa.gif", L::EXIT_BUTTON}})
        EXPECT_EQ(size[name], std::pair(3 * b.frameWidth, int(b.frameHeight))) << name;

    ExpectInkOnlyIn(Picture(cAssetNames::IMAGE_ARCHIVE, "balvani_sprajtmapa.gif"),
                    std::vector<SDL_Rect>(L::LOG_FRAMES, L::LOG_FRAMES + L::COLUMN_COUNT), -1);
    std::vector<SDL_Rect> glyphs;
    for (int c = 0; c < 256; ++c)
        if (const cTekst::cGlyph* g = cTekst::Glyph(static_cast<unsigned char>(c)))
            glyphs.push_back({g->x, g->y, g->w, cTekst::GLYPH_HEIGHT});
    ExpectInkOnlyIn(Picture(cAssetNames::FONT_ARCHIVE, cAssetNames::FONT), glyphs, 9);
}

TEST(Assets, EverySoundPassesTheHeaderCheckAndPlaysAndSoDoesTheTune)
{
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 4096), 0) << Mix_GetError();
    for (const char* name : cAssetNames::SOUNDS) {
        Bytes b = Entry(cAssetNames::SOUND_ARCHIVE, name);
        ASSERT_TRUE(cMediaCheck::IsPlayableWav(b.data(), b.size())) << name << " would crash SDL";
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromMem(b.data(), int(b.size())), 1);
        EXPECT_TRUE(chunk && chunk->alen > 0) << name << ": " << Mix_GetError();
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
}
