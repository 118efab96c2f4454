// Renders SVG documents to pixels with librsvg, and measures the ink of single elements.
#pragma once

#include <string>
#include <vector>

#include "cRgbaImage.h"

class cSvgRasterizer
{
public:
    struct cBox
    {
        double x = 0, y = 0, w = 0, h = 0;
    };

    // Renders the document at its own width and height (in px) into *image.
    static bool RenderFile(const std::string& path, cRgbaImage* image, std::string* error);
    static bool RenderText(const std::string& svg, cRgbaImage* image, std::string* error);

    // The ink rectangles (strokes included) of the elements with the given ids, in
    // document pixels. Used to fit each glyph of the font sheet into its cell.
    static bool InkBoxes(const std::string& svg, const std::vector<std::string>& ids,
                         std::vector<cBox>* boxes, std::string* error);
};
