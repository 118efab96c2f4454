// The game's six sounds and its music, loaded at start-up and released at exit.
#pragma once

#include "resources/cLoadError.h"

#include <cstdint>
#include <functional>
#include <string>

struct Mix_Chunk;
struct _Mix_Music;
struct SDL_RWops;

class cSoundSet
{
public:
    // A slot whose load failed (no audio device, say) stays null and plays nothing.
    Mix_Chunk* prijava = nullptr; // loaded but never played
    Mix_Chunk* odjava = nullptr;  // at start and as the farewell
    Mix_Chunk* klik = nullptr;    // every button's click
    Mix_Chunk* aplauz = nullptr;  // a right row of logs
    Mix_Chunk* ubac = nullptr;    // a log dropping into its slot
    Mix_Chunk* ponovo = nullptr;  // a wrong row of logs
    // The puzzle's music: read from the archive at start-up, decoded by DecodeMusic.
    _Mix_Music* aladin = nullptr;

    // How long the farewell is given to play at exit; tests that start and stop the
    // game many times shorten it.
    uint32_t farewellMs = 1000;

    // The sound's chunk from the sound archive (messages name it `shownPath`), or null:
    // for a sound the mixer can't decode, and with *failure set when the archive or the
    // entry is missing.
    static Mix_Chunk* LoadSound(const std::string& shownPath, const char* name,
                                cLoadError* failure);

    // Opens the audio device, loads the sounds and reads the music's bytes. Only a missing
    // archive or entry fails (and releases what was loaded); audio trouble leaves the
    // game silent.
    bool LoadSounds(cLoadError* failure);
    // Turns the music's bytes into something the mixer plays, once: building the MIDI
    // synthesizer and reading its instruments takes tens of milliseconds and megabytes,
    // which the way to the first frame should not pay. Music that can't be decoded stays
    // null and is not tried again.
    void DecodeMusic();
    // Plays the farewell, waits for it, then releases everything and closes the device.
    void FreeSounds();
    // Releases everything and closes the device at once, without a farewell.
    void Release();

    // Plays a chunk once on the first free channel; null chunks play nothing.
    void Play(Mix_Chunk* chunk);
    // The puzzle's tune, looped, fading in over `fadeMs`; and faded out again.
    void StartMusic(int fadeMs);
    void FadeOutMusic(int fadeMs);

    // Tests listen here: every chunk Play is given (null ones included), and the music as
    // it starts (the fade in ms, and how often it plays, -1 for ever) or fades out (minus the fade).
    std::function<void(const Mix_Chunk*)> onSound;
    std::function<void(int fadeMs, int loops)> onMusic;

private:
    // The mixer streams some kinds of music (WAV, Ogg, MP3) from these while it plays,
    // so they live as long as the music does.
    unsigned char* musicBytes = nullptr;
    uint32_t musicSize = 0;
    SDL_RWops* musicStream = nullptr;
    bool musicDecoded = false;
};
