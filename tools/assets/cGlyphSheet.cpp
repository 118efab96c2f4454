// Draws the bitmap font sheet "fnt.gif": every character rendered with Andika into its own cell.
#include "cGlyphSheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "cSvgRasterizer.h"
#include "widgets/cGlyphTable.h"

namespace {

// Dark letters with a white halo read on the sky, the grass and the grey backdrop alike.
const char* const kInk = "#1f2a6b";
const char* const kHalo = "#ffffff";
const double kHaloWidth = 2.6; // half of it shows outside the letter
const double kTopMargin = 0.4; // keep the halo's soft edge inside the 19-pixel cell
const double kRightGap = 1.0;  // the cell width includes the space to the next letter

std::string Escape(char c)
{
    switch (c) {
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '&':
        return "&amp;";
    default:
        return std::string(1, c);
    }
}

std::string Text(const cGlyphTable::cGlyph& g, double size, const std::string& extra)
{
    char head[256];
    std::snprintf(head, sizeof head,
                  "<text id=\"g%d\" x=\"0\" y=\"0\" font-family=\"Andika\" font-weight=\"bold\" "
                  "font-size=\"%.2f\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%.2f\" "
                  "stroke-linejoin=\"round\" paint-order=\"stroke\" xml:space=\"preserve\"%s>",
                  static_cast<int>(static_cast<unsigned char>(g.character)), size, kInk, kHalo,
                  kHaloWidth, extra.c_str());
    return head + Escape(g.character) + "</text>\n";
}

std::string Document(const std::string& body)
{
    char head[256];
    std::snprintf(head, sizeof head,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\">\n",
                  cGlyphTable::kSheetWidth, cGlyphTable::kSheetHeight);
    return head + body + "</svg>\n";
}

// Measures every glyph drawn at the origin with the given font size.
bool Measure(double size, std::vector<cSvgRasterizer::cBox>* boxes, std::string* error)
{
    std::string body;
    std::vector<std::string> ids;
    for (const cGlyphTable::cGlyph& g : cGlyphTable::kGlyphs) {
        body += Text(g, size, "");
        ids.push_back("g" + std::to_string(static_cast<unsigned char>(g.character)));
    }
    return cSvgRasterizer::InkBoxes(Document(body), ids, boxes, error);
}

} // namespace

bool cGlyphSheet::BuildSvg(std::string* svg, std::string* error)
{
    // The largest size at which every letter, digit and the marks the game writes share
    // one baseline inside the 19-pixel row. Rarer signs that reach further ('_', '[', '@')
    // are squeezed to fit below rather than shrinking every letter for them.
    double size = 20.0;
    std::vector<cSvgRasterizer::cBox> boxes;
    double top = 0, bottom = 0;
    for (;; size -= 0.25) {
        if (!Measure(size, &boxes, error))
            return false;
        top = 0;
        bottom = 0;
        for (int i = 0; i < cGlyphTable::kCount; ++i) {
            if (!std::isalnum(static_cast<unsigned char>(cGlyphTable::kGlyphs[i].character)) &&
                cGlyphTable::kGlyphs[i].character != '!')
                continue;
            top = std::min(top, boxes[i].y);
            bottom = std::max(bottom, boxes[i].y + boxes[i].h);
        }
        if (bottom - top <= cGlyphTable::kGlyphHeight - 2 * kTopMargin || size < 8)
            break;
    }
    const double baseline = kTopMargin - top;

    std::string body = "<defs>\n";
    for (const cGlyphTable::cGlyph& g : cGlyphTable::kGlyphs) {
        char clip[160];
        std::snprintf(clip, sizeof clip,
                      "<clipPath id=\"c%d\"><rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"/>"
                      "</clipPath>\n",
                      static_cast<unsigned char>(g.character), g.x, g.y, g.width,
                      cGlyphTable::kGlyphHeight);
        body += clip;
    }
    body += "</defs>\n";
    for (int i = 0; i < cGlyphTable::kCount; ++i) {
        const cGlyphTable::cGlyph& g = cGlyphTable::kGlyphs[i];
        const cSvgRasterizer::cBox& b = boxes[i];
        // Narrow glyphs are squeezed sideways to fit their cell; the rest are centred.
        const double room = g.width - kRightGap;
        const double scale = b.w > room ? room / b.w : 1.0;
        const double left = g.x + (room - b.w * scale) / 2.0;
        const double cellTop = g.y + kTopMargin;
        const double cellBottom = g.y + cGlyphTable::kGlyphHeight - kTopMargin;
        const double yScale = std::min(1.0, (cellBottom - cellTop) / b.h);
        double shift = g.y + baseline;
        shift += std::max(0.0, cellTop - (shift + yScale * b.y));
        shift -= std::max(0.0, shift + yScale * (b.y + b.h) - cellBottom);
        char group[200];
        std::snprintf(
            group, sizeof group,
            "<g clip-path=\"url(#c%d)\"><g transform=\"matrix(%.4f 0 0 %.4f %.3f %.3f)\">",
            static_cast<unsigned char>(g.character), scale, yScale, left - b.x * scale, shift);
        body += group + Text(g, size, "") + "</g></g>\n";
    }
    *svg = Document(body);
    return true;
}

bool cGlyphSheet::Render(cRgbaImage* image, std::string* error)
{
    std::string svg;
    return BuildSvg(&svg, error) && cSvgRasterizer::RenderText(svg, image, error);
}
