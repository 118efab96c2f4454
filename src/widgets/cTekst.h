// A line of text in the game's bitmap font, drawn whole or typed out letter by letter.
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

    // Draws the whole text on one line with its first glyph's top-left at (x, y).
    void DrawText(const std::string& text, int x, int y, SDL_Surface* target);
    // Reveals one more byte of `source` on even frames, then draws what is revealed.
    void TypeText(const std::string& source, int x, int y, SDL_Surface* target, uint32_t frame);

    // The glyph of a byte, or null when the byte has none (the space included).
    static const cGlyph* Glyph(unsigned char c);
    // How far the pen moves over `text`.
    static int TextWidth(const std::string& text);

    const std::string& Revealed() const { return revealed; }

private:
    SDL_Surface* sheet;
    std::string revealed;
    uint32_t revealCount;
    int x;
    int y;
};
