// Opening the audio device, loading the sounds and music, and the farewell at exit.
#include "resources/cSoundSet.h"

#include "resources/cResourceArchive.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdlib>

Mix_Chunk* cSoundSet::LoadSound(const std::string& archivePath, const char* name)
{
    uint32_t size = 0;
    unsigned char* buffer = cResourceArchive::LoadResource(archivePath, name, size);
    SDL_RWops* stream = SDL_RWFromMem(buffer, static_cast<int>(size));
    // The mixer frees the stream itself (second argument 1).
    Mix_Chunk* chunk = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    free(buffer);
    return chunk;
}

Mix_Music* cSoundSet::LoadMusic(const std::string& archivePath, const char* name)
{
    uint32_t size = 0;
    unsigned char* buffer = cResourceArchive::LoadResource(archivePath, name, size);
    SDL_RWops* stream = SDL_RWFromMem(buffer, static_cast<int>(size));
    // A MIDI file is read whole here, so neither the stream nor the buffer outlives the load.
    Mix_Music* music = stream ? Mix_LoadMUS_RW(stream) : nullptr;
    if (stream)
        SDL_FreeRW(stream);
    free(buffer);
    return music;
}

void cSoundSet::LoadSounds()
{
    Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 4096);
    const std::string path = cResourceArchive::PathInWorkingDirectory("sndres001.bin");
    prijava = LoadSound(path, "prijava.wav");
    odjava = LoadSound(path, "odjava.wav");
    klik = LoadSound(path, "klik.wav");
    aplauz = LoadSound(path, "aplauz.wav");
    ubac = LoadSound(path, "ubac.wav");
    ponovo = LoadSound(path, "ponovo.wav");
    aladin = LoadMusic(path, "aladin.mid");
}

void cSoundSet::FreeSounds()
{
    Mix_FreeChunk(prijava);
    Mix_FreeChunk(klik);
    prijava = klik = nullptr;
    Play(odjava);
    SDL_Delay(farewellMs);
    Mix_Chunk** rest[] = {&odjava, &aplauz, &ubac, &ponovo};
    for (Mix_Chunk** slot : rest) {
        Mix_FreeChunk(*slot);
        *slot = nullptr;
    }
    if (aladin)
        Mix_FreeMusic(aladin);
    aladin = nullptr;
    Mix_CloseAudio();
}

void cSoundSet::Play(Mix_Chunk* chunk)
{
    if (chunk)
        Mix_PlayChannel(-1, chunk, 0);
}
