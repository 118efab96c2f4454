// A line of text in the game's bitmap font.
#pragma once

#include <SDL.h>
#include <cstdint>
#include <string>

class cGameEngine;

class cTekst
{
public:
    struct cGlyph
    {
        Sint16 x;
        Sint16 y;
        Uint16 w;
    };

    static const int GLYPH_HEIGHT = 19;
    static const int SPACE_ADVANCE = 10;

    explicit cTekst(cGameEngine* engine);
    ~cTekst();
    cTekst(const cTekst&) = delete;
    cTekst& operator=(const cTekst&) = delete;

    // Draws the text's first `count` bytes (all by default) on one line with the first
    // glyph's top-left at (x, y).
    void DrawText(const std::string& text, int x, int y, SDL_Surface* target,
                  size_t count = std::string::npos);

    // The glyph of a byte, or null when the byte has none (the space included).
    static const cGlyph* Glyph(unsigned char c);

private:
    SDL_Surface* sheet;
};
