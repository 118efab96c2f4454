// Tests of the asset builder's own logic: note lists, MIDI bytes, hard-edged GIF transparency, sounds.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cGifWriter.h"
#include "cMidiWriter.h"
#include "cNoteList.h"
#include "cSoundSynth.h"

namespace
{

const uint32_t kQuarter = cNoteList::kTicksPerQuarter;

std::string TempPath(const std::string& name)
{
    return ::testing::TempDir() + "zagonetar_builder_" + name;
}

TEST(NoteList, ReadsPitchesLengthsChordsRestsAndRepeats)
{
    cNoteList notes;
    std::string error;
    ASSERT_TRUE(notes.Parse("tempo 90 # slow\n"
                            "meter 3/4\n"
                            "track Melody channel=2 program=14 velocity=80\n"
                            "  C4/4 F#4/8 Bb3/8 r/4 |\n"
                            "  [ C4+E4+G4/2. | ]x2\n",
                            &error))
        << error;
    EXPECT_EQ(notes.tempo, 90);
    EXPECT_EQ(notes.BarTicks(), 3 * kQuarter);
    ASSERT_EQ(notes.tracks.size(), 1u);
    const cNoteList::cTrack& t = notes.tracks[0];
    EXPECT_EQ(t.channel, 2);
    EXPECT_EQ(t.program, 14);
    EXPECT_EQ(t.velocity, 80);
    EXPECT_EQ(t.length, 9 * kQuarter);
    ASSERT_EQ(t.notes.size(), 5u); // the rest is not a note
    EXPECT_EQ(t.notes[0].keys, std::vector<int>{60});
    EXPECT_EQ(t.notes[1].keys, std::vector<int>{66});
    EXPECT_EQ(t.notes[1].tick, kQuarter);
    EXPECT_EQ(t.notes[1].length, kQuarter / 2);
    EXPECT_EQ(t.notes[2].keys, std::vector<int>{58});
    EXPECT_EQ(t.notes[3].keys, (std::vector<int>{60, 64, 67}));
    EXPECT_EQ(t.notes[3].tick, 3 * kQuarter);
    EXPECT_EQ(t.notes[3].length, 3 * kQuarter);
    EXPECT_EQ(t.notes[4].tick, 6 * kQuarter);
}

TEST(NoteList, RejectsScoresThatWouldPlayWrong)
{
    const struct
    {
        const char* text;
        const char* complaint;
    } bad[] = {
        {"track A\n C4/4 C4/4 C4/4 |\n", "line 2: bar in track A holds 1440 ticks, not 1920"},
        {"track A\n C4/1 |\ntrack B\n C4/1 | C4/1 |\n", "track B is not as long as track A"},
        {"track A\n C4/1\n", "track A ends inside a bar"},
        {"track A\n H4/1 |\n", "line 2: 'H4' is not a pitch"},
        {"track A\n C4/3 |\n", "line 2: 'C4/3' is not PITCH/LENGTH"},
        {"track A\n [ C4/1 |\n", "a '[' is never closed"},
        {"track A volume=200\n", "line 1: volume must lie in 0..127"},
        {"C4/1 |\n", "line 1: notes before the first track"},
    };
    for (const auto& b : bad)
    {
        cNoteList notes;
        std::string error;
        EXPECT_FALSE(notes.Parse(b.text, &error)) << b.text;
        EXPECT_EQ(error, b.complaint) << b.text;
    }
}

TEST(MidiWriter, WritesTimedNotesEndingAtTheBarLine)
{
    cNoteList notes;
    std::string error;
    // Two equal notes back to back: the first must stop before the second starts.
    ASSERT_TRUE(notes.Parse("tempo 120\ntrack A channel=3 program=1\n C4/2 C4/2 |\n", &error));
    const std::string path = TempPath("two.mid");
    ASSERT_TRUE(cMidiWriter::Write(notes, path, &error)) << error;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), {});
    std::remove(path.c_str());
    ASSERT_GT(d.size(), 14u);
    EXPECT_EQ(std::string(d.begin(), d.begin() + 4), "MThd");
    EXPECT_EQ(d[9], 1);  // format 1
    EXPECT_EQ(d[11], 2); // conductor + one part

    // Find the part's note events and their absolute ticks.
    std::vector<std::pair<uint32_t, std::vector<unsigned char>>> events;
    size_t p = 14;
    for (int track = 0; track < 2; ++track)
    {
        const size_t end = p + 8 + ((d[p + 4] << 24) | (d[p + 5] << 16) | (d[p + 6] << 8) | d[p + 7]);
        p += 8;
        uint32_t tick = 0;
        while (p < end)
        {
            uint32_t delta = 0;
            unsigned char b;
            do
            {
                b = d[p++];
                delta = (delta << 7) | (b & 0x7f);
            } while (b & 0x80);
            tick += delta;
            const unsigned char status = d[p];
            size_t size = 3;
            if (status == 0xff)
                size = 3 + d[p + 2];
            else if ((status & 0xf0) == 0xc0)
                size = 2;
            if (track == 1)
                events.push_back({tick, std::vector<unsigned char>(d.begin() + p, d.begin() + p + size)});
            p += size;
        }
    }
    std::vector<std::pair<uint32_t, int>> notesOnOff; // tick, +1 on / -1 off
    for (const auto& e : events)
    {
        if ((e.second[0] & 0xf0) == 0x90)
            notesOnOff.push_back({e.first, +1});
        if ((e.second[0] & 0xf0) == 0x80)
            notesOnOff.push_back({e.first, -1});
        if (e.second[0] < 0xf0)
        {
            EXPECT_EQ(e.second[0] & 0x0f, 2) << "channel 3 is 2 on the wire";
        }
    }
    ASSERT_EQ(notesOnOff.size(), 4u);
    EXPECT_EQ(notesOnOff[0], std::make_pair(0u, +1));
    EXPECT_EQ(notesOnOff[1].second, -1);
    EXPECT_LT(notesOnOff[1].first, 2 * kQuarter);
    EXPECT_EQ(notesOnOff[2], std::make_pair(2 * kQuarter, +1));
    // The end-of-track event lies on the bar line, so the loop keeps time.
    EXPECT_EQ(events.back().first, 4 * kQuarter);
    EXPECT_EQ(events.back().second, (std::vector<unsigned char>{0xff, 0x2f, 0x00}));
}

TEST(GifWriter, HardensSoftEdgesAndKeysOnlyTheClearPixels)
{
    // Premultiplied pixels: clear, faint (alpha 100), strong (alpha 200), opaque.
    cRgbaImage image;
    image.Resize(4, 1);
    const uint8_t pixels[16] = {0, 0, 0, 0, 100, 0, 0, 100, 0, 200, 0, 200, 0, 0, 255, 255};
    image.pixels.assign(pixels, pixels + 16);
    const std::string path = TempPath("edge.gif");
    std::string error;
    ASSERT_TRUE(cGifWriter::Write(image, path, false, 0, &error)) << error;

    int gifError = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &gifError);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    std::remove(path.c_str());
    GraphicsControlBlock gcb;
    ASSERT_EQ(DGifSavedExtensionToGCB(gif, 0, &gcb), GIF_OK);
    const GifByteType* index = gif->SavedImages[0].RasterBits;
    const ColorMapObject* map = gif->SColorMap;
    EXPECT_EQ(index[0], gcb.TransparentColor);
    EXPECT_EQ(index[1], gcb.TransparentColor) << "a faint edge pixel must vanish";
    EXPECT_NE(index[2], gcb.TransparentColor) << "a strong edge pixel must stay";
    EXPECT_NE(index[3], gcb.TransparentColor);
    // Kept edge pixels take their full colour, not a darkened one.
    EXPECT_GT(map->Colors[index[2]].Green, 240);
    EXPECT_GT(map->Colors[index[3]].Blue, 240);
    DGifCloseFile(gif, &gifError);
}

TEST(SoundSynth, EverySoundIsRepeatableAndStaysBelowFullScale)
{
    for (const char* name : {"klik", "prijava", "odjava", "ubac", "aplauz", "ponovo"})
    {
        std::vector<float> first, second;
        ASSERT_TRUE(cSoundSynth::Synthesise(name, &first)) << name;
        ASSERT_TRUE(cSoundSynth::Synthesise(name, &second)) << name;
        EXPECT_EQ(first, second) << name;
        float peak = 0.0f;
        for (float s : first)
            peak = std::fmax(peak, std::fabs(s));
        EXPECT_GT(peak, 0.3f) << name;
        EXPECT_LE(peak, 0.8f) << name;
        // Starts and ends at rest, so no click when it starts or is cut.
        EXPECT_LT(std::fabs(first.front()), 0.01f) << name;
        EXPECT_LT(std::fabs(first.back()), 0.01f) << name;
    }
    std::vector<float> none;
    EXPECT_FALSE(cSoundSynth::Synthesise("grom", &none));
}

} // namespace
