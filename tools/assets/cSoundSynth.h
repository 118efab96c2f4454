// Synthesises the game's six sound effects from the note tables in cSoundSynth.cpp.
#pragma once

#include <string>
#include <vector>

class cSoundSynth
{
public:
    static constexpr int kSampleRate = 22050;

    // Fills *samples (mono, in [-1, 1]) with the named sound ("klik", "prijava", "odjava",
    // "ubac", "aplauz", "ponovo"); false for an unknown name. The same name always gives
    // the same samples.
    static bool Synthesise(const std::string& name, std::vector<float>* samples);

    // The known names, separated by spaces.
    static std::string Names();
};
