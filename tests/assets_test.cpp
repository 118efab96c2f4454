// Checks the built archives: the game finds every asset, and each picture, sound and the tune fits where it is used.
#include "resources/cResourceArchive.h"
#include "widgets/cTekst.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

const std::string kGameDir = ZAGONETAR_GAME_DIR;

std::vector<unsigned char> Entry(const std::string& archive, const std::string& name)
{
    unsigned char* data = nullptr;
    uint32_t size = 0;
    std::string error;
    std::vector<unsigned char> bytes;
    if (cResourceArchive::Find(kGameDir + "/" + archive, name, &data, &size, &error) !=
        cResourceArchive::FOUND)
    {
        ADD_FAILURE() << name << " not found in " << archive << ": " << error;
        return bytes;
    }
    bytes.assign(data, data + size);
    std::free(data);
    return bytes;
}

// A decoded GIF, with the questions the tests ask of its pixels.
class cPicture
{
public:
    explicit cPicture(const std::string& name)
    {
        std::vector<unsigned char> bytes = Entry("imgres001.bin", name);
        SDL_RWops* rw = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
        surface = IMG_LoadGIF_RW(rw);
        SDL_FreeRW(rw);
        EXPECT_NE(surface, nullptr) << name << ": " << IMG_GetError();
        if (surface)
        {
            EXPECT_EQ(surface->format->BitsPerPixel, 8) << name;
        }
    }
    explicit cPicture(SDL_Surface* s) : surface(s) {}
    ~cPicture()
    {
        if (surface)
            SDL_FreeSurface(surface);
    }
    cPicture(const cPicture&) = delete;
    cPicture& operator=(const cPicture&) = delete;

    bool Ok() const { return surface && surface->format->BitsPerPixel == 8; }
    int W() const { return surface->w; }
    int H() const { return surface->h; }
    bool Keyed() const { return (surface->flags & SDL_SRCCOLORKEY) != 0; }

    Uint8 Index(int x, int y) const
    {
        return static_cast<const Uint8*>(surface->pixels)[y * surface->pitch + x];
    }
    bool Visible(int x, int y) const
    {
        return !Keyed() || Index(x, y) != surface->format->colorkey;
    }
    int CountVisible(const SDL_Rect& r) const
    {
        int n = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                n += Visible(x, y) ? 1 : 0;
        return n;
    }
    bool SameArea(const SDL_Rect& a, const SDL_Rect& b) const
    {
        for (int y = 0; y < a.h; ++y)
            for (int x = 0; x < a.w; ++x)
                if (Index(a.x + x, a.y + y) != Index(b.x + x, b.y + y))
                    return false;
        return true;
    }

private:
    SDL_Surface* surface = nullptr;
};

bool Inside(int x, int y, const SDL_Rect& r)
{
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

// The log frames as the game cuts them, tallest first.
const SDL_Rect kLogClips[10] = {{0, 0, 29, 195},    {28, 19, 29, 175}, {56, 34, 29, 160},
                                {83, 51, 29, 144},  {112, 68, 29, 130}, {140, 84, 29, 112},
                                {170, 99, 29, 96},  {199, 117, 29, 80}, {227, 133, 29, 63},
                                {255, 148, 29, 48}};

TEST(AssetArchives, HoldExactlyTheNamesTheGameAsksFor)
{
    const struct
    {
        const char* archive;
        std::vector<std::string> names;
    } expected[] = {
        {"imgres001.bin",
         {"sivo.gif", "start_sprajtmapa.gif", "pejzaz-s.gif", "serijacija_ikonica_sprajtmapa.gif",
          "sss_bez_balvana.gif", "balvani_sprajtmapa.gif", "dugme_izlaz_sprajtmapa.gif",
          "cvet.gif", "naziv_aplikacije.gif", "programer.gif", "meni_da.gif", "meni_ne.gif"}},
        {"sndres001.bin",
         {"klik.wav", "prijava.wav", "odjava.wav", "aplauz.wav", "ubac.wav", "ponovo.wav",
          "aladin.mid"}},
        {"fntres001.bin", {"fnt.gif"}},
    };
    for (const auto& e : expected)
    {
        std::vector<cResourceArchive::cEntry> entries;
        std::string error;
        ASSERT_EQ(cResourceArchive::List(kGameDir + "/" + e.archive, &entries, &error),
                  cResourceArchive::FOUND)
            << e.archive << ": " << error;
        std::vector<std::string> names;
        for (const cResourceArchive::cEntry& entry : entries)
        {
            names.push_back(entry.name);
            EXPECT_GT(entry.size, 0u) << entry.name;
        }
        std::vector<std::string> want = e.names;
        std::sort(names.begin(), names.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(names, want) << e.archive;
    }
}

TEST(AssetPictures, DecodeAtTheSizeTheScreensDrawThem)
{
    const struct
    {
        const char* name;
        int w, h;
        bool keyed; // drawn over something else, so it must let it show through
    } pictures[] = {
        {"sivo.gif", 640, 480, false},
        {"pejzaz-s.gif", 640, 480, false},
        {"sss_bez_balvana.gif", 640, 480, false},
        {"start_sprajtmapa.gif", 645, 102, true},
        {"serijacija_ikonica_sprajtmapa.gif", 141, 37, true},
        {"dugme_izlaz_sprajtmapa.gif", 267, 75, true},
        {"balvani_sprajtmapa.gif", 284, 198, true},
        {"meni_da.gif", 256, 128, false},
        {"meni_ne.gif", 256, 128, false},
    };
    for (const auto& p : pictures)
    {
        cPicture picture(p.name);
        ASSERT_TRUE(picture.Ok()) << p.name;
        EXPECT_EQ(picture.W(), p.w) << p.name;
        EXPECT_EQ(picture.H(), p.h) << p.name;
        EXPECT_EQ(picture.Keyed(), p.keyed) << p.name;
    }
}

TEST(AssetPictures, IntroTitleAndCreditStayClearOfEachOtherAndTheStartButton)
{
    // Title at (36, 196) above the credit's top at y 296; credit at (19, 296) above the
    // button's top at y 318; both within the screen.
    cPicture title("naziv_aplikacije.gif");
    cPicture credit("programer.gif");
    ASSERT_TRUE(title.Ok() && credit.Ok());
    EXPECT_TRUE(title.Keyed());
    EXPECT_TRUE(credit.Keyed());
    EXPECT_LE(196 + title.H(), 296);
    EXPECT_LE(36 + title.W(), 640);
    EXPECT_LE(296 + credit.H(), 318);
    EXPECT_LE(19 + credit.W(), 640);
    EXPECT_GT(title.CountVisible({0, 0, static_cast<Uint16>(title.W()), static_cast<Uint16>(title.H())}), 1000);
    EXPECT_GT(credit.CountVisible({0, 0, static_cast<Uint16>(credit.W()), static_cast<Uint16>(credit.H())}), 300);
}

TEST(AssetPictures, ButtonSheetsShowThreeDifferentFrames)
{
    const struct
    {
        const char* name;
        Uint16 w, h;
    } sheets[] = {{"start_sprajtmapa.gif", 215, 102},
                  {"serijacija_ikonica_sprajtmapa.gif", 47, 37},
                  {"dugme_izlaz_sprajtmapa.gif", 89, 75}};
    for (const auto& s : sheets)
    {
        cPicture sheet(s.name);
        ASSERT_TRUE(sheet.Ok()) << s.name;
        const SDL_Rect frames[3] = {{0, 0, s.w, s.h},
                                    {static_cast<Sint16>(s.w), 0, s.w, s.h},
                                    {static_cast<Sint16>(2 * s.w), 0, s.w, s.h}};
        for (int i = 0; i < 3; ++i)
        {
            // Mostly button, not mostly hole: the hit area is the whole frame.
            EXPECT_GT(sheet.CountVisible(frames[i]), s.w * s.h * 3 / 4) << s.name << " frame " << i;
            for (int j = i + 1; j < 3; ++j)
                EXPECT_FALSE(sheet.SameArea(frames[i], frames[j]))
                    << s.name << ": frames " << i << " and " << j << " look the same";
        }
    }
}

TEST(AssetPictures, DialogsShowDifferentAnswersChosen)
{
    std::vector<unsigned char> da = Entry("imgres001.bin", "meni_da.gif");
    std::vector<unsigned char> ne = Entry("imgres001.bin", "meni_ne.gif");
    EXPECT_NE(da, ne);
}

TEST(AssetPictures, EveryLogFillsItsFrameAndNothingLiesOutsideTheFrames)
{
    cPicture logs("balvani_sprajtmapa.gif");
    ASSERT_TRUE(logs.Ok());
    ASSERT_GE(logs.W(), 284);
    ASSERT_GE(logs.H(), 198);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(logs.CountVisible(kLogClips[i]), kLogClips[i].w * kLogClips[i].h)
            << "log " << i << " has holes in its frame";
    int stray = 0;
    for (int y = 0; y < logs.H(); ++y)
        for (int x = 0; x < logs.W(); ++x)
        {
            bool inFrame = false;
            for (const SDL_Rect& r : kLogClips)
                inFrame = inFrame || Inside(x, y, r);
            stray += (!inFrame && logs.Visible(x, y)) ? 1 : 0;
        }
    EXPECT_EQ(stray, 0) << "pixels outside the log frames would be drawn with a neighbour";
}

TEST(AssetPictures, FlowerIsSmallAndCentredUnderItsLog)
{
    // A placed log spans slot x - 7 .. slot x + 21, so its middle is 7 right of the flower's x.
    cPicture flower("cvet.gif");
    ASSERT_TRUE(flower.Ok());
    EXPECT_TRUE(flower.Keyed());
    EXPECT_LE(flower.W(), 24);
    EXPECT_LE(flower.H(), 24);
    long sum = 0, count = 0;
    for (int y = 0; y < flower.H(); ++y)
        for (int x = 0; x < flower.W(); ++x)
            if (flower.Visible(x, y))
            {
                sum += x;
                ++count;
            }
    ASSERT_GT(count, 0);
    EXPECT_NEAR(static_cast<double>(sum) / count, 7.0, 1.5);
}

TEST(AssetFont, EveryGlyphCellHoldsInkAndNothingLiesOutsideTheCells)
{
    std::vector<unsigned char> bytes = Entry("fntres001.bin", "fnt.gif");
    SDL_RWops* rw = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    cPicture sheet(IMG_LoadGIF_RW(rw));
    SDL_FreeRW(rw);
    ASSERT_TRUE(sheet.Ok());
    ASSERT_TRUE(sheet.Keyed());
    ASSERT_GE(sheet.W(), 986);
    ASSERT_GE(sheet.H(), 38);

    std::vector<SDL_Rect> cells;
    for (int c = 0; c < 256; ++c)
    {
        const cTekst::cGlyph* g = cTekst::Glyph(static_cast<unsigned char>(c));
        if (!g)
            continue;
        const SDL_Rect cell = {g->x, g->y, g->w, cTekst::GLYPH_HEIGHT};
        cells.push_back(cell);
        EXPECT_GT(sheet.CountVisible(cell), 8) << "glyph '" << static_cast<char>(c) << "' is empty";
    }
    EXPECT_EQ(cells.size(), 77u);
    int stray = 0;
    for (int y = 0; y < sheet.H(); ++y)
        for (int x = 0; x < sheet.W(); ++x)
        {
            bool inCell = false;
            for (const SDL_Rect& r : cells)
                inCell = inCell || Inside(x, y, r);
            stray += (!inCell && sheet.Visible(x, y)) ? 1 : 0;
        }
    EXPECT_EQ(stray, 0) << "ink outside the glyph cells";
}

class AssetSounds : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 4096), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(AssetSounds, EveryWavLoadsWithASensibleLengthAndNoClipping)
{
    const struct
    {
        const char* name;
        double shortest, longest; // seconds
    } sounds[] = {{"klik.wav", 0.01, 0.2},  {"prijava.wav", 0.2, 1.0}, {"odjava.wav", 0.2, 1.0},
                  {"ubac.wav", 0.05, 0.6},  {"aplauz.wav", 2.0, 3.0},  {"ponovo.wav", 0.3, 1.5}};
    for (const auto& s : sounds)
    {
        std::vector<unsigned char> bytes = Entry("sndres001.bin", s.name);
        Mix_Chunk* chunk =
            Mix_LoadWAV_RW(SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        ASSERT_NE(chunk, nullptr) << s.name << ": " << Mix_GetError();
        // The mixer holds 16-bit stereo at 22050 Hz: four bytes a frame.
        const double seconds = chunk->alen / 4.0 / 22050.0;
        EXPECT_GE(seconds, s.shortest) << s.name;
        EXPECT_LE(seconds, s.longest) << s.name;
        const Sint16* samples = reinterpret_cast<const Sint16*>(chunk->abuf);
        int peak = 0;
        for (Uint32 i = 0; i < chunk->alen / 2; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        EXPECT_GT(peak, 3000) << s.name << " is nearly silent";
        EXPECT_LT(peak, 32000) << s.name << " reaches full scale";
        Mix_FreeChunk(chunk);
    }
}

// Reads a MIDI variable-length number; false past the end.
bool VarLength(const std::vector<unsigned char>& d, size_t* p, size_t end, uint32_t* v)
{
    *v = 0;
    for (int i = 0; i < 4 && *p < end; ++i)
    {
        const unsigned char b = d[(*p)++];
        *v = (*v << 7) | (b & 0x7f);
        if (!(b & 0x80))
            return true;
    }
    return false;
}

uint32_t Big(const std::vector<unsigned char>& d, size_t p, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | d[p + i];
    return v;
}

TEST_F(AssetSounds, TuneIsAWellFormedMidiFileOfHalfAMinuteOrSo)
{
    std::vector<unsigned char> d = Entry("sndres001.bin", "aladin.mid");
    ASSERT_GE(d.size(), 22u);
    ASSERT_EQ(std::string(d.begin(), d.begin() + 4), "MThd");
    ASSERT_EQ(Big(d, 4, 4), 6u);
    EXPECT_EQ(Big(d, 8, 2), 1u) << "format 1";
    const uint32_t trackCount = Big(d, 10, 2);
    const uint32_t division = Big(d, 12, 2);
    ASSERT_GT(division, 0u);
    ASSERT_LT(division, 0x8000u) << "ticks per quarter note, not SMPTE time";

    // Walk every track's events: lengths must add up, and the last tick with the tempo
    // gives the piece's length. The tune has one tempo, set at the start.
    size_t p = 14;
    uint32_t tracks = 0, lastTick = 0, microsPerQuarter = 500000;
    while (p + 8 <= d.size())
    {
        ASSERT_EQ(std::string(d.begin() + p, d.begin() + p + 4), "MTrk");
        const size_t end = p + 8 + Big(d, p + 4, 4);
        ASSERT_LE(end, d.size());
        p += 8;
        uint32_t tick = 0;
        unsigned char status = 0;
        bool ended = false;
        while (p < end && !ended)
        {
            uint32_t delta = 0, length = 0;
            ASSERT_TRUE(VarLength(d, &p, end, &delta));
            tick += delta;
            ASSERT_LT(p, end);
            if (d[p] & 0x80)
                status = d[p++];
            ASSERT_NE(status, 0) << "running status before any status byte";
            if (status == 0xff)
            {
                const unsigned char type = d[p++];
                ASSERT_TRUE(VarLength(d, &p, end, &length));
                if (type == 0x51 && length == 3)
                    microsPerQuarter = Big(d, p, 3);
                ended = type == 0x2f;
                p += length;
            }
            else if (status == 0xf0 || status == 0xf7)
            {
                ASSERT_TRUE(VarLength(d, &p, end, &length));
                p += length;
            }
            else
                p += ((status & 0xf0) == 0xc0 || (status & 0xf0) == 0xd0) ? 1 : 2;
        }
        EXPECT_TRUE(ended) << "track " << tracks << " has no end-of-track event";
        EXPECT_EQ(p, end) << "track " << tracks << " length disagrees with its events";
        lastTick = std::max(lastTick, tick);
        p = end;
        ++tracks;
    }
    EXPECT_EQ(p, d.size());
    EXPECT_EQ(tracks, trackCount);
    EXPECT_GE(tracks, 2u);
    const double seconds = lastTick / static_cast<double>(division) * microsPerQuarter / 1e6;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 60.0);

    // SDL_mixer's own synthesizer must accept it (it needs the General MIDI sound set).
    SDL_RWops* rw = SDL_RWFromMem(d.data(), static_cast<int>(d.size()));
    Mix_Music* music = Mix_LoadMUS_RW(rw);
    EXPECT_NE(music, nullptr) << Mix_GetError();
    if (music)
        Mix_FreeMusic(music);
    SDL_FreeRW(rw);
}

} // namespace
