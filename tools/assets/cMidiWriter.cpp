// Writes a note list as a format-1 Standard MIDI File for SDL_mixer's synthesizer.
#include "cMidiWriter.h"

#include "cByteFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct cEvent
{
    uint32_t tick;
    int order; // at equal ticks: note-offs before note-ons, so repeated keys restart
    std::vector<uint8_t> bytes;
};

void PutVarLength(std::vector<uint8_t>* out, uint32_t v)
{
    uint8_t buffer[5];
    int n = 0;
    buffer[n++] = v & 0x7f;
    while (v >>= 7)
        buffer[n++] = static_cast<uint8_t>(0x80 | (v & 0x7f));
    while (n > 0)
        out->push_back(buffer[--n]);
}

void Put32(std::vector<uint8_t>* out, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> Chunk(const char* tag, std::vector<cEvent> events, uint32_t end)
{
    std::stable_sort(events.begin(), events.end(), [](const cEvent& a, const cEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> body;
    uint32_t now = 0;
    for (const cEvent& e : events) {
        PutVarLength(&body, e.tick - now);
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    // End of track at the bar line, so the piece loops without a gap or a jump.
    PutVarLength(&body, end - now);
    body.insert(body.end(), {0xff, 0x2f, 0x00});
    std::vector<uint8_t> chunk(tag, tag + 4);
    Put32(&chunk, static_cast<uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

cEvent Meta(uint32_t tick, uint8_t type, const std::vector<uint8_t>& data)
{
    cEvent e = {tick, 0, {0xff, type}};
    PutVarLength(&e.bytes, static_cast<uint32_t>(data.size()));
    e.bytes.insert(e.bytes.end(), data.begin(), data.end());
    return e;
}

std::vector<uint8_t> Text(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

} // namespace

bool cMidiWriter::Write(const cNoteList& notes, const std::string& path, std::string* error)
{
    const uint32_t end = notes.tracks.empty() ? 0 : notes.tracks[0].length;
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    const uint16_t trackCount = static_cast<uint16_t>(notes.tracks.size() + 1);
    file.push_back(static_cast<uint8_t>(trackCount >> 8));
    file.push_back(static_cast<uint8_t>(trackCount));
    file.push_back(static_cast<uint8_t>(cNoteList::kTicksPerQuarter >> 8));
    file.push_back(static_cast<uint8_t>(cNoteList::kTicksPerQuarter & 0xff));

    // The conductor track: tempo and meter only.
    const uint32_t microsPerQuarter = 60000000u / static_cast<uint32_t>(notes.tempo);
    uint8_t unitPower = 0;
    while ((1 << unitPower) < notes.meterUnit)
        ++unitPower;
    std::vector<cEvent> conductor = {
        Meta(0, 0x03, Text("Aladin")),
        Meta(0, 0x58, {static_cast<uint8_t>(notes.meterBeats), unitPower, 24, 8}),
        Meta(0, 0x51,
             {static_cast<uint8_t>(microsPerQuarter >> 16),
              static_cast<uint8_t>(microsPerQuarter >> 8),
              static_cast<uint8_t>(microsPerQuarter)})};
    std::vector<uint8_t> chunk = Chunk("MTrk", conductor, end);
    file.insert(file.end(), chunk.begin(), chunk.end());

    for (const cNoteList::cTrack& track : notes.tracks) {
        const uint8_t ch = static_cast<uint8_t>(track.channel - 1);
        std::vector<cEvent> events = {
            Meta(0, 0x03, Text(track.name)),
            {0, 1, {static_cast<uint8_t>(0xb0 | ch), 7, static_cast<uint8_t>(track.volume)}},
            {0, 1, {static_cast<uint8_t>(0xb0 | ch), 10, static_cast<uint8_t>(track.pan)}},
            {0, 1, {static_cast<uint8_t>(0xc0 | ch), static_cast<uint8_t>(track.program - 1)}}};
        for (const cNoteList::cNote& n : track.notes) {
            // A short breath before the next note keeps repeated notes distinct.
            const uint32_t sounding = n.length > 60 ? n.length - 20 : n.length - n.length / 4;
            for (int key : n.keys) {
                events.push_back({n.tick,
                                  3,
                                  {static_cast<uint8_t>(0x90 | ch), static_cast<uint8_t>(key),
                                   static_cast<uint8_t>(track.velocity)}});
                events.push_back({n.tick + sounding,
                                  2,
                                  {static_cast<uint8_t>(0x80 | ch), static_cast<uint8_t>(key), 0}});
            }
        }
        chunk = Chunk("MTrk", events, end);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }

    return cByteFile::Write(path, file.data(), file.size(), error);
}
