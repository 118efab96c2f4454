// libFuzzer target: bytes as a picture, a sound and music; what a check lets through goes on to
// the decoder it guards (SDL_image; SDL's WAV loader; SDL_mixer's music readers). A crash, a hang
// or an allocation past the limit there is a hole in the check.
#include "resources/cMediaCheck.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 4096) != 0)
        abort(); // the game's own audio format, or the sounds are never decoded
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string message;
    const cMediaCheck::eGifResult picture = cMediaCheck::CheckGif(data, size, &message);
    if (picture == cMediaCheck::REFUSED && message.empty())
        abort(); // a refused picture always says why
    if (picture == cMediaCheck::OK) {
        SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
        SDL_FreeSurface(IMG_LoadGIF_RW(stream));
        SDL_FreeRW(stream);
    }
    if (cMediaCheck::IsPlayableWav(data, size))
        Mix_FreeChunk(Mix_LoadWAV_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1));
    // MIDI is left out: the synthesizer reads its instruments for every tune, tens of
    // milliseconds each; its check bounds notes, not memory.
    const bool sampled =
        size >= 4 && (memcmp(data, "RIFF", 4) == 0 || memcmp(data, "FORM", 4) == 0);
    if (sampled && cMediaCheck::IsPlayableMusic(data, size)) {
        SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
        if (Mix_Music* music = Mix_LoadMUS_RW(stream))
            Mix_FreeMusic(music);
        SDL_FreeRW(stream);
    }
    return 0;
}
