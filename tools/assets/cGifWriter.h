// Turns a rendered picture into a GIF89a: hard-edged transparency, ≤256 colours, giflib.
#pragma once

#include <cstdint>
#include <string>

#include "cRgbaImage.h"

class cGifWriter
{
public:
    // Pixels at least half covered become opaque, the rest transparent: the game blits
    // with a colour key, so a soft edge would show as a fringe. When hasMatte is set the
    // kept edge pixels are blended over matteRgb (the colour the picture usually sits on)
    // instead of being simply un-premultiplied.
    static bool Write(const cRgbaImage& image, const std::string& path, bool hasMatte,
                      uint32_t matteRgb, std::string* error);
};
