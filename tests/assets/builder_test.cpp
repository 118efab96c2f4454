// The asset builder's own logic: note lists, MIDI timing, hard-edged GIF transparency, sounds.
#include "cGifWriter.h"
#include "cMidiWriter.h"
#include "cNoteList.h"
#include "cSoundSynth.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

const uint32_t Q = cNoteList::kTicksPerQuarter;

TEST(NoteList, ReadsPitchesLengthsChordsRestsAndRepeatsAndRejectsScoresThatWouldPlayWrong)
{
    cNoteList notes;
    std::string error;
    ASSERT_TRUE(
        notes.Parse("tempo 90 # slow\nmeter 3/4\ntrack Melody channel=2 program=14 velocity=80\n"
                    "  C4/4 F#4/8 Bb3/8 r/4 |\n  [ C4+E4+G4/2. | ]x2\n",
                    &error))
        << error;
    const cNoteList::cTrack& t = notes.tracks.at(0);
    EXPECT_EQ(std::tuple(notes.tempo, notes.BarTicks(), t.channel, t.program, t.velocity, t.length),
              std::tuple(90, 3 * Q, 2, 14, 80, 9 * Q));
    std::vector<std::tuple<uint32_t, uint32_t, std::vector<int>>> got; // the rest is no note
    for (const cNoteList::cNote& n : t.notes)
        got.push_back({n.tick, n.length, n.keys});
    EXPECT_EQ(got, (decltype(got){{0, Q, {60}},
                                  {Q, Q / 2, {66}},
                                  {3 * Q / 2, Q / 2, {58}},
                                  {3 * Q, 3 * Q, {60, 64, 67}},
                                  {6 * Q, 3 * Q, {60, 64, 67}}}));

    for (auto [text, complaint] :
         {std::pair{"track A\n C4/4 C4/4 C4/4 |\n",
                    "line 2: bar in track A holds 1440 ticks, not 1920"},
          {"track A\n C4/1 |\ntrack B\n C4/1 | C4/1 |\n", "track B is not as long as track A"},
          {"track A\n C4/1\n", "track A ends inside a bar"},
          {"track A\n H4/1 |\n", "line 2: 'H4' is not a pitch"},
          {"track A\n C4/3 |\n", "line 2: 'C4/3' is not PITCH/LENGTH"},
          {"track A\n [ C4/1 |\n", "a '[' is never closed"},
          {"track A volume=200\n", "line 1: volume must lie in 0..127"},
          {"C4/1 |\n", "line 1: notes before the first track"}}) {
        EXPECT_FALSE(cNoteList().Parse(text, &error)) << text;
        EXPECT_EQ(error, complaint) << text;
    }
}

TEST(MidiWriter, EndsEachNoteBeforeTheNextAndTheTrackOnTheBarLine)
{
    cNoteList notes;
    std::string error;
    const std::string path = ::testing::TempDir() + "zagonetar_builder.mid";
    ASSERT_TRUE(notes.Parse("tempo 120\ntrack A channel=3 program=1\n C4/2 C4/2 |\n", &error) &&
                cMidiWriter::Write(notes, path, &error))
        << error;
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), {});
    std::remove(path.c_str());
    auto big = [&](size_t p) {
        return uint32_t(d.at(p) << 24 | d.at(p + 1) << 16 | d.at(p + 2) << 8 | d.at(p + 3));
    };
    EXPECT_EQ(std::tuple(d.at(9), d.at(11)), std::tuple(1, 2))
        << "format 1: conductor and one part";
    // The part's events at their absolute ticks: notes on (+1) and off (-1), and the last event.
    size_t p = 22 + big(18), end = p + 8 + big(p + 4);
    uint32_t tick = 0;
    std::vector<std::pair<uint32_t, int>> onOff;
    std::vector<unsigned char> last;
    for (p += 8; p < end; p += last.size()) {
        uint32_t delta = 0;
        while (d.at(p) & 0x80)
            delta = delta << 7 | (d.at(p++) & 0x7f);
        tick += delta << 7 | d.at(p++);
        const unsigned char status = d.at(p);
        last.assign(d.begin() + p, d.begin() + p +
                                       (status == 0xff            ? 3 + d.at(p + 2)
                                        : (status & 0xf0) == 0xc0 ? 2
                                                                  : 3));
        EXPECT_TRUE(status >= 0xf0 || (status & 0x0f) == 2) << "channel 3 is 2 on the wire";
        if ((status & 0xe0) == 0x80)
            onOff.push_back({tick, status & 0x10 ? +1 : -1});
    }
    ASSERT_EQ(onOff.size(), 4u);
    EXPECT_TRUE(onOff[0] == std::pair(0u, +1) && onOff[1].second == -1 && onOff[1].first < 2 * Q &&
                onOff[2] == std::pair(2 * Q, +1))
        << "the first note stops before the second starts on its beat";
    EXPECT_EQ(std::pair(tick, last), std::pair(4 * Q, std::vector<unsigned char>{0xff, 0x2f, 0x00}))
        << "end-of-track on the bar line keeps the loop in time";
}

TEST(GifWriter, HardensSoftEdgesAndKeysOnlyTheClearPixels)
{
    cRgbaImage image; // premultiplied: clear, faint (alpha 100), strong (alpha 200), opaque
    image.Resize(4, 1);
    image.pixels = {0, 0, 0, 0, 100, 0, 0, 100, 0, 200, 0, 200, 0, 0, 255, 255};
    const std::string path = ::testing::TempDir() + "zagonetar_builder.gif";
    std::string error;
    ASSERT_TRUE(cGifWriter::Write(image, path, false, 0, &error)) << error;
    int gifError = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &gifError);
    std::remove(path.c_str());
    GraphicsControlBlock gcb;
    ASSERT_TRUE(gif && DGifSlurp(gif) == GIF_OK && DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK);
    const GifByteType* i = gif->SavedImages[0].RasterBits;
    const int key = gcb.TransparentColor;
    EXPECT_EQ(std::tuple(i[0] == key, i[1] == key, i[2] == key, i[3] == key),
              std::tuple(true, true, false, false))
        << "a faint edge vanishes, a strong one stays";
    // Kept edge pixels take their full colour, not a darkened one.
    EXPECT_TRUE(gif->SColorMap->Colors[i[2]].Green > 240 &&
                gif->SColorMap->Colors[i[3]].Blue > 240);
    DGifCloseFile(gif, &gifError);
}

TEST(SoundSynth, EverySoundIsRepeatableBelowFullScaleAndStartsAndEndsAtRest)
{
    std::vector<float> first, second;
    for (const char* name : {"klik", "prijava", "odjava", "ubac", "aplauz", "ponovo"}) {
        ASSERT_TRUE(cSoundSynth::Synthesise(name, &first) && cSoundSynth::Synthesise(name, &second))
            << name;
        EXPECT_EQ(first, second) << name;
        float peak = 0;
        for (float s : first)
            peak = std::fmax(peak, std::fabs(s));
        EXPECT_TRUE(peak > 0.3f && peak <= 0.8f) << name << " peaks at " << peak;
        EXPECT_TRUE(std::fabs(first.front()) < 0.01f && std::fabs(first.back()) < 0.01f)
            << name << " would click";
    }
    EXPECT_FALSE(cSoundSynth::Synthesise("grom", &first));
}

} // namespace
