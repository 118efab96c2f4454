// The asset builder's own logic: note lists and MIDI timing, the track ending on the bar line to
// keep the tune's loop in time. Its sounds and GIFs' hard edges are checked in the built archives.
#include "cMidiWriter.h"
#include "cNoteList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

TEST(MidiWriter, EndsEachNoteBeforeItSoundsAgainAndTheTrackOnTheBarLine)
{
    cNoteList notes;
    std::string error, path = ::testing::TempDir() + "zagonetar_builder.mid";
    ASSERT_TRUE(notes.Parse("track A channel=3\n C4/2 C4/2 |\n", &error)) << error;
    ASSERT_TRUE(cMidiWriter::Write(notes, path, &error)) << error;
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), {});
    std::remove(path.c_str());
    // The part after the conductor: the ticks its notes start and stop at, 480 to a quarter note.
    uint32_t tick = 0;
    std::vector<uint32_t> on, off;
    for (size_t p = 30 + (d.at(20) << 8 | d.at(21)), length; p < d.size(); p += length) {
        uint32_t delta = 0;
        while (d.at(p) & 0x80)
            delta = delta << 7 | (d.at(p++) & 0x7f);
        tick += delta << 7 | d.at(p++);
        const int status = d.at(p);
        length = status == 0xff ? 3 + d.at(p + 2) : (status & 0xf0) == 0xc0 ? 2 : 3;
        EXPECT_TRUE(status >= 0xf0 || (status & 0x0f) == 2) << "channel 3 is 2 on the wire";
        if ((status & 0xe0) == 0x80)
            (status & 0x10 ? on : off).push_back(tick);
    }
    EXPECT_TRUE(on == (std::vector{0u, 960u}) && off.size() == 2 && off[0] > 0 && off[0] < 960 &&
                off[1] < 1920 && tick == 1920 && d.at(d.size() - 2) == 0x2f);
}
