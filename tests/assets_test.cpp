// The built archives: the game finds every asset, and each picture, sound and the tune fits where
// it is used.
#include "resources/cResourceArchive.h"
#include "widgets/cTekst.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

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

TEST(Assets, TheArchivesHoldExactlyTheNamesTheGameAsksFor)
{
    for (auto [archive, want] :
         {std::pair<const char*, std::vector<std::string>>{
              "imgres001.bin",
              {"balvani_sprajtmapa.gif", "cvet.gif", "dugme_izlaz_sprajtmapa.gif", "meni_da.gif",
               "meni_ne.gif", "naziv_aplikacije.gif", "pejzaz-s.gif", "programer.gif",
               "serijacija_ikonica_sprajtmapa.gif", "sivo.gif", "sss_bez_balvana.gif",
               "start_sprajtmapa.gif"}},
          {"sndres001.bin",
           {"aladin.mid", "aplauz.wav", "klik.wav", "odjava.wav", "ponovo.wav", "prijava.wav",
            "ubac.wav"}},
          {"fntres001.bin", {"fnt.gif"}}}) {
        std::vector<cResourceArchive::cEntry> entries;
        std::string error;
        ASSERT_EQ(
            cResourceArchive::List(ZAGONETAR_GAME_DIR "/" + std::string(archive), &entries, &error),
            cResourceArchive::FOUND)
            << error;
        std::vector<std::string> names;
        for (const cResourceArchive::cEntry& entry : entries)
            names.push_back(entry.size > 0 ? entry.name : entry.name + " (empty)");
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, want) << archive;
    }
}

TEST(Assets, PicturesFitWhereTheScreensDrawThem)
{
    // Negative sizes are bounds: the title, credit and flower must fit where they are drawn.
    for (auto [name, w, h, keyed] : {std::tuple{"sivo.gif", 640, 480, false},
                                     {"pejzaz-s.gif", 640, 480, false},
                                     {"sss_bez_balvana.gif", 640, 480, false},
                                     {"meni_da.gif", 256, 128, false},
                                     {"meni_ne.gif", 256, 128, false},
                                     {"balvani_sprajtmapa.gif", 284, 198, true},
                                     {"naziv_aplikacije.gif", -604, -100, true},
                                     {"programer.gif", -621, -22, true},
                                     {"cvet.gif", -24, -24, true},
                                     {"start_sprajtmapa.gif", 645, 102, true},
                                     {"serijacija_ikonica_sprajtmapa.gif", 141, 37, true},
                                     {"dugme_izlaz_sprajtmapa.gif", 267, 75, true}}) {
        cPicture p("imgres001.bin", name);
        ASSERT_NE(p.s, nullptr);
        const int width = w < 0 ? std::max(p.s->w, -w) : p.s->w,
                  height = h < 0 ? std::max(p.s->h, -h) : p.s->h;
        EXPECT_EQ(std::tuple(width, height, p.Keyed()), std::tuple(std::abs(w), std::abs(h), keyed))
            << name;
    }
    EXPECT_NE(Entry("imgres001.bin", "meni_da.gif"), Entry("imgres001.bin", "meni_ne.gif"));

    // The log frames as the game cuts them, tallest first; a pixel outside would be drawn with a
    // neighbour.
    const std::vector<SDL_Rect> logs = {{0, 0, 29, 195},   {28, 19, 29, 175},  {56, 34, 29, 160},
                                        {83, 51, 29, 144}, {112, 68, 29, 130}, {140, 84, 29, 112},
                                        {170, 99, 29, 96}, {199, 117, 29, 80}, {227, 133, 29, 63},
                                        {255, 148, 29, 48}};
    cPicture("imgres001.bin", "balvani_sprajtmapa.gif").ExpectInkOnlyIn(logs, -1);

    std::vector<SDL_Rect> cells;
    for (int c = 0; c < 256; ++c)
        if (const cTekst::cGlyph* g = cTekst::Glyph(static_cast<unsigned char>(c)))
            cells.push_back({g->x, g->y, g->w, cTekst::GLYPH_HEIGHT});
    cPicture("fntres001.bin", "fnt.gif")
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
        Bytes bytes = Entry("sndres001.bin", name);
        Mix_Chunk* chunk =
            Mix_LoadWAV_RW(SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        const double seconds = chunk->alen / 4.0 / 22050.0; // 16-bit stereo
        EXPECT_TRUE(seconds >= shortest && seconds <= longest)
            << name << " lasts " << seconds << " s";
        Mix_FreeChunk(chunk);
    }

    // The tune: format 1, its track chunks fill the file and each ends with end-of-track.
    Bytes d = Entry("sndres001.bin", "aladin.mid");
    auto big = [&](size_t p, int n) {
        uint32_t v = 0;
        while (n--)
            v = v << 8 | d.at(p++);
        return v;
    };
    EXPECT_EQ(std::tuple(big(0, 4), big(8, 2)), std::tuple(0x4d546864u, 1u)) << "MThd, format 1";
    uint32_t tracks = 0;
    size_t p = 14;
    for (; p + 8 <= d.size(); p += 8 + big(p + 4, 4), ++tracks) {
        EXPECT_EQ(big(p, 4), 0x4d54726bu) << "MTrk";
        EXPECT_EQ(big(p + 8 + big(p + 4, 4) - 3, 3), 0xff2f00u)
            << "track " << tracks << " has no end";
    }
    EXPECT_EQ(p, d.size());
    EXPECT_EQ(tracks, big(10, 2));
    SDL_RWops* rw = SDL_RWFromMem(d.data(), static_cast<int>(d.size()));
    Mix_Music* music = Mix_LoadMUS_RW(rw);
    EXPECT_NE(music, nullptr) << Mix_GetError();
    Mix_FreeMusic(music);
    SDL_FreeRW(rw);
    Mix_CloseAudio();
    SDL_Quit();
}

} // namespace
