// Opening the audio device, loading the sounds and music, and the farewell at exit.
#include "resources/cSoundSet.h"

#include "resources/cAssetNames.h"
#include "resources/cMediaCheck.h"
#include "resources/cResourceArchive.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdlib>

namespace {

// The slot of each sound of cAssetNames::SOUNDS, row for row.
Mix_Chunk* cSoundSet::*const SOUND_SLOTS[cAssetNames::SOUND_COUNT] = {
    &cSoundSet::prijava, &cSoundSet::odjava, &cSoundSet::klik,
    &cSoundSet::aplauz,  &cSoundSet::ubac,   &cSoundSet::ponovo,
};

} // namespace

Mix_Chunk* cSoundSet::LoadSound(const std::string& shownPath, const char* name, cLoadError* failure)
{
    uint32_t size = 0;
    unsigned char* buffer =
        cResourceArchive::LoadResource(cAssetNames::SOUND_ARCHIVE, shownPath, name, size, failure);
    if (!buffer)
        return nullptr;
    // SDL divides by a WAV's channels and block size without looking: only sounds it can
    // play go to the mixer, the rest stay silent.
    if (!cMediaCheck::IsPlayableWav(buffer, size)) {
        free(buffer);
        return nullptr;
    }
    SDL_RWops* stream = SDL_RWFromMem(buffer, static_cast<int>(size));
    // The mixer frees the stream itself (second argument 1) and copies the samples.
    Mix_Chunk* chunk = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    free(buffer);
    return chunk;
}

void cSoundSet::DecodeMusic()
{
    if (musicDecoded)
        return;
    musicDecoded = true;
    // The mixer's own WAV and AIFF readers divide by what the header says, and its MIDI
    // synthesizer complains on standard error for every note it has no voice for.
    if (musicBytes && !cMediaCheck::IsPlayableMusic(musicBytes, musicSize)) {
        free(musicBytes);
        musicBytes = nullptr;
    }
    musicStream = musicBytes ? SDL_RWFromMem(musicBytes, static_cast<int>(musicSize)) : nullptr;
    aladin = musicStream ? Mix_LoadMUS_RW(musicStream) : nullptr;
    if (!aladin) {
        // Silent, as for any music the mixer can't play.
        if (musicStream)
            SDL_FreeRW(musicStream);
        free(musicBytes);
        musicStream = nullptr;
        musicBytes = nullptr;
    }
}

bool cSoundSet::LoadSounds(cLoadError* failure)
{
    Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 4096);
    const std::string shown = cResourceArchive::PathInWorkingDirectory(cAssetNames::SOUND_ARCHIVE);
    bool ok = true;
    for (int i = 0; ok && i < cAssetNames::SOUND_COUNT; ++i) {
        this->*SOUND_SLOTS[i] = LoadSound(shown, cAssetNames::SOUNDS[i], failure);
        ok = !failure->Failed();
    }
    if (ok) {
        musicBytes = cResourceArchive::LoadResource(cAssetNames::SOUND_ARCHIVE, shown,
                                                    cAssetNames::MUSIC, musicSize, failure);
        ok = musicBytes != nullptr;
    }
    if (!ok)
        Release();
    return ok;
}

void cSoundSet::FreeSounds()
{
    Mix_FreeChunk(prijava);
    Mix_FreeChunk(klik);
    prijava = klik = nullptr;
    Play(odjava);
    SDL_Delay(farewellMs);
    Release();
}

void cSoundSet::Release()
{
    for (Mix_Chunk* cSoundSet::*slot : SOUND_SLOTS) {
        Mix_FreeChunk(this->*slot);
        this->*slot = nullptr;
    }
    if (aladin)
        Mix_FreeMusic(aladin);
    aladin = nullptr;
    if (musicStream)
        SDL_FreeRW(musicStream);
    free(musicBytes);
    musicStream = nullptr;
    musicBytes = nullptr;
    musicDecoded = false;
    Mix_CloseAudio();
}

void cSoundSet::Play(Mix_Chunk* chunk)
{
    if (onSound)
        onSound(chunk);
    if (chunk)
        Mix_PlayChannel(-1, chunk, 0);
}

void cSoundSet::StartMusic(int fadeMs)
{
    DecodeMusic();
    const int loops = -1; // on for as long as the puzzle is
    if (onMusic)
        onMusic(fadeMs, loops);
    Mix_FadeInMusic(aladin, loops, fadeMs);
}

void cSoundSet::FadeOutMusic(int fadeMs)
{
    if (onMusic)
        onMusic(-fadeMs, 0);
    Mix_FadeOutMusic(fadeMs);
}
