// Reads the music's note list (assets/*.notes): a readable text score turned into timed notes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cNoteList
{
public:
    static constexpr int kTicksPerQuarter = 480;

    struct cNote
    {
        uint32_t tick;         // start, from the beginning of the piece
        uint32_t length;       // in ticks
        std::vector<int> keys; // MIDI key numbers sounding together
    };

    struct cTrack
    {
        std::string name;
        int channel = 1;  // 1..16, 10 is percussion
        int program = 1;  // General MIDI instrument, 1..128 as the GM list numbers them
        int volume = 100; // 0..127
        int pan = 64;     // 0 left .. 127 right
        int velocity = 90;
        std::vector<cNote> notes;
        uint32_t length = 0; // ticks, rests included
    };

    int tempo = 120; // quarter notes per minute
    int meterBeats = 4;
    int meterUnit = 4;
    std::vector<cTrack> tracks;

    // Parses a note list. On failure *error names the line and what is wrong with it.
    bool Load(const std::string& path, std::string* error);
    bool Parse(const std::string& text, std::string* error);

    uint32_t BarTicks() const { return 4u * kTicksPerQuarter * meterBeats / meterUnit; }
};
