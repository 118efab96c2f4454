// A plain premultiplied-RGBA pixel buffer passed from the SVG renderer to the GIF writer.
#pragma once

#include <cstdint>
#include <vector>

class cRgbaImage
{
public:
    int width = 0;
    int height = 0;
    // Four bytes per pixel, R G B A, colour premultiplied by alpha (as cairo draws it).
    std::vector<uint8_t> pixels;

    void Resize(int w, int h)
    {
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * h * 4, 0);
    }

    uint8_t* At(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
    const uint8_t* At(int x, int y) const
    {
        return &pixels[(static_cast<size_t>(y) * width + x) * 4];
    }
};
