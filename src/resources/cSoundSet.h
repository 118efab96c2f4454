// The game's six sounds and its music, loaded at start-up and released at exit.
#pragma once

#include <cstdint>
#include <string>

struct Mix_Chunk;
struct _Mix_Music;

class cSoundSet
{
public:
    // A slot whose load failed (no audio device, say) stays null and plays nothing.
    Mix_Chunk* klik = nullptr;    // "klik.wav", every button's click
    Mix_Chunk* prijava = nullptr; // "prijava.wav", loaded but never played
    Mix_Chunk* odjava = nullptr;  // "odjava.wav", at start and as the farewell
    Mix_Chunk* aplauz = nullptr;  // "aplauz.wav", a right row of logs
    Mix_Chunk* ubac = nullptr;    // "ubac.wav", a log dropping into its slot
    Mix_Chunk* ponovo = nullptr;  // "ponovo.wav", a wrong row of logs
    _Mix_Music* aladin = nullptr; // "aladin.mid", the puzzle's music

    // How long the farewell is given to play at exit; tests that start and stop the
    // game many times shorten it.
    uint32_t farewellMs = 1000;

    // Both end the program when the archive or the entry is missing; a sound the
    // mixer can't decode is only null.
    static Mix_Chunk* LoadSound(const std::string& archivePath, const char* name);
    static _Mix_Music* LoadMusic(const std::string& archivePath, const char* name);

    // Opens the audio device and loads everything; never fatal for audio reasons.
    void LoadSounds();
    // Plays the farewell, waits a second for it, releases everything, closes the device.
    void FreeSounds();

    // Plays a chunk once on the first free channel; null chunks play nothing.
    static void Play(Mix_Chunk* chunk);
};
