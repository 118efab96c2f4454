// The built archives: every picture passes the game's header check and fits where it is drawn,
// the log and font sheets are inked only inside their frames, every sound and the tune play.
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
#include <memory>

namespace {

using L = cLayout;
using Bytes = std::vector<unsigned char>;
using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

Bytes Entry(const char* archive, const char* name)
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

SDL_RWops* Stream(Bytes& b)
{
    return SDL_RWFromMem(b.data(), static_cast<int>(b.size()));
}

// Decoded as the game decodes it, after the header check the game would refuse it by.
Surface Picture(const char* archive, const char* name)
{
    Bytes b = Entry(archive, name);
    std::string why;
    EXPECT_EQ(cMediaCheck::CheckGif(b.data(), b.size(), &why), cMediaCheck::OK) << name << why;
    SDL_RWops* rw = Stream(b);
    Surface s(IMG_LoadGIF_RW(rw), SDL_FreeSurface);
    SDL_FreeRW(rw);
    EXPECT_TRUE(s && s->format->BitsPerPixel == 8) << name << ": " << IMG_GetError();
    return s;
}

// Every cell holds `ink` visible pixels or more (all of them for -1), and none lie outside the
// cells: a stray pixel would be drawn beside a neighbouring log or letter.
void ExpectInkOnlyIn(const Surface& s, const std::vector<SDL_Rect>& cells, int ink)
{
    ASSERT_TRUE(s);
    std::vector<int> inked(cells.size());
    int stray = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const Uint8 pixel = static_cast<const Uint8*>(s->pixels)[y * s->pitch + x];
            const bool visible = !(s->flags & SDL_SRCCOLORKEY) || pixel != s->format->colorkey;
            bool inCell = false;
            for (size_t i = 0; i < cells.size(); ++i) {
                const SDL_Rect& c = cells[i];
                if (x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h)
                    inCell = true, inked[i] += visible;
            }
            stray += visible && !inCell;
        }
    EXPECT_EQ(stray, 0);
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_GE(inked[i], ink < 0 ? cells[i].w * cells[i].h : ink) << "cell " << i;
}

TEST(Assets, PicturesPassTheHeaderCheckFitWhereTheyAreDrawnAndSheetsInkOnlyTheirFrames)
{
    std::map<std::string, std::pair<int, int>> size;
    for (const cAssetNames::cPicture& p : cAssetNames::PICTURES)
        if (Surface s = Picture(cAssetNames::IMAGE_ARCHIVE, p.name))
            size[p.name] = {s->w, s->h};
    for (const char* backdrop : {"sivo.gif", "pejzaz-s.gif", "sss_bez_balvana.gif"})
        EXPECT_EQ(size[backdrop], std::pair(L::SCREEN_WIDTH, L::SCREEN_HEIGHT)) << backdrop;
    // Button sheets hold three frames side by side.
    for (auto [name, b] : {std::pair{"start_sprajtmapa.gif", L::START_BUTTON},
                           {"serijacija_ikonica_sprajtmapa.gif", L::ACTIVITY_ICON},
                           {"dugme_izlaz_sprajtmapa.gif", L::EXIT_BUTTON}})
        EXPECT_EQ(size[name], std::pair(3 * b.frameWidth, int(b.frameHeight))) << name;
    // The dialog, title and credit stay inside the screen where they are drawn.
    for (auto [name, at] : {std::pair{"meni_da.gif", L::DIALOG},
                            {"meni_ne.gif", L::DIALOG},
                            {"naziv_aplikacije.gif", L::TITLE},
                            {"programer.gif", L::CREDIT}})
        EXPECT_TRUE(size.count(name) && at.x + size[name].first <= L::SCREEN_WIDTH &&
                    at.y + size[name].second <= L::SCREEN_HEIGHT)
            << name;
    EXPECT_NE(Entry(cAssetNames::IMAGE_ARCHIVE, "meni_da.gif"),
              Entry(cAssetNames::IMAGE_ARCHIVE, "meni_ne.gif"));

    ExpectInkOnlyIn(Picture(cAssetNames::IMAGE_ARCHIVE, "balvani_sprajtmapa.gif"),
                    std::vector<SDL_Rect>(L::LOG_FRAMES, L::LOG_FRAMES + L::COLUMN_COUNT), -1);
    std::vector<SDL_Rect> cells;
    for (int c = 0; c < 256; ++c)
        if (const cTekst::cGlyph* g = cTekst::Glyph(static_cast<unsigned char>(c)))
            cells.push_back({g->x, g->y, g->w, cTekst::GLYPH_HEIGHT});
    // Unkeyed, the font would be inked all over.
    ExpectInkOnlyIn(Picture(cAssetNames::FONT_ARCHIVE, cAssetNames::FONT), cells, 9);
}

TEST(Assets, EverySoundPassesTheHeaderCheckAndPlaysAndSoDoesTheTune)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 4096), 0) << Mix_GetError();
    for (const char* name : cAssetNames::SOUNDS) {
        Bytes b = Entry(cAssetNames::SOUND_ARCHIVE, name);
        EXPECT_TRUE(cMediaCheck::IsPlayableWav(b.data(), b.size())) << name;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(Stream(b), 1);
        EXPECT_TRUE(chunk && chunk->alen > 0) << name << ": " << Mix_GetError();
        Mix_FreeChunk(chunk);
    }
    Bytes d = Entry(cAssetNames::SOUND_ARCHIVE, cAssetNames::MUSIC);
    SDL_RWops* rw = Stream(d);
    Mix_Music* music = Mix_LoadMUS_RW(rw);
    EXPECT_NE(music, nullptr) << Mix_GetError();
    Mix_FreeMusic(music);
    SDL_FreeRW(rw);
    Mix_CloseAudio();
    SDL_Quit();
}

} // namespace
