// Checks on the pictures, sounds and music in the archives, run before the bytes reach
// SDL_image or SDL_mixer. Those trust what a file declares: a picture declaring a giant
// size has them allocate gigabytes, a GIF cut inside a block has SDL_image spin forever, a
// sound with no channels divides by zero, and a tune of thousands of notes at once floods
// standard error from the synthesizer. Each check walks the bytes the way its decoder
// will, and refuses any layout where two readers could disagree. They read only the
// bytes they are given.
#pragma once

#include <cstddef>
#include <string>

class cMediaCheck
{
public:
    // The largest picture side the game will hand to SDL_image.
    static const unsigned MAX_PICTURE_SIDE = 2048;
    // The most notes a tune may sound at once; the synthesizer has voices for 256, and a
    // note may take two.
    static const unsigned MAX_NOTES_AT_ONCE = 128;

    enum eGifResult {
        NOT_GIF, // no GIF signature: SDL_image refuses it after six bytes, in its own words
        OK,
        REFUSED // *message says why
    };

    // OK for a GIF whose every block is whole and allowed where it stands, with at least
    // one image, and whose screen and images are 1 to MAX_PICTURE_SIDE pixels a side.
    static eGifResult CheckGif(const unsigned char* data, size_t size, std::string* message);

    // True for a RIFF WAVE holding 8- or 16-bit PCM, 1 or 2 channels, 4000 to 192000
    // samples a second, and data no longer than the file; false for anything else, the
    // sound then stays silent.
    static bool IsPlayableWav(const unsigned char* data, size_t size);

    // The same for an AIFF file (big-endian chunks, the rate an 80-bit float).
    static bool IsPlayableAiff(const unsigned char* data, size_t size);

    // True for music the mixer may be given: WAV and AIFF under the checks above, a MIDI
    // file whose tracks are whole and which never sounds more than MAX_NOTES_AT_ONCE notes
    // at once, and any other kind (the mixer refuses it or plays it itself).
    static bool IsPlayableMusic(const unsigned char* data, size_t size);
};
