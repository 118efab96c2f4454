// Draws the bitmap font sheet "fnt.gif": every character rendered with Andika into its own cell.
#pragma once

#include <string>

#include "cRgbaImage.h"

class cGlyphSheet
{
public:
    // Renders the whole sheet; each glyph is confined to its cell and the rest is clear.
    static bool Render(cRgbaImage* image, std::string* error);

    // The SVG that Render draws, for looking at or editing the sheet by hand.
    static bool BuildSvg(std::string* svg, std::string* error);
};
