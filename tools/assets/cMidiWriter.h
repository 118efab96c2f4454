// Writes a note list as a format-1 Standard MIDI File for SDL_mixer's synthesizer.
#pragma once

#include <string>

#include "cNoteList.h"

class cMidiWriter
{
public:
    static bool Write(const cNoteList& notes, const std::string& path, std::string* error);
};
