// Header checks for the pictures and sounds in the archives, run before the bytes reach
// SDL_image or SDL_mixer: a picture declaring a giant size would have them allocate
// gigabytes, and a sound with a zero block size or no channels divides by zero there.
// Both read only the bytes they are given.
#pragma once

#include <cstddef>
#include <string>

class cMediaCheck
{
public:
    // The largest picture side the game will hand to SDL_image.
    static const unsigned MAX_PICTURE_SIDE = 2048;

    enum eGifResult {
        NOT_GIF_OR_SHORT, // not a GIF, or cut short before its sizes: SDL_image decides
        OK,
        BAD_SIZE // the screen or the first image is 0 or wider or taller than the limit
    };

    // On BAD_SIZE, *message names the declared sizes for the player's log.
    static eGifResult CheckGif(const unsigned char* data, size_t size, std::string* message);

    // True for a RIFF WAVE whose format chunk has 1 or 2 channels, 4000 to 192000 samples a
    // second and a non-zero block size; false for anything else, the sound then stays silent.
    static bool IsPlayableWav(const unsigned char* data, size_t size);
};
