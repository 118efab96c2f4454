// Drawing text with the glyphs of "fnt.gif".
#include "widgets/cTekst.h"

#include "engine/cGameEngine.h"
#include "widgets/cGlyphTable.h"

namespace {

// Direct lookup by character code, built once from the glyph table.
struct cGlyphIndex
{
    cTekst::cGlyph byCode[256] = {};

    cGlyphIndex()
    {
        for (const cGlyphTable::cGlyph& g : cGlyphTable::kGlyphs)
            byCode[static_cast<unsigned char>(g.character)] = {
                static_cast<Sint16>(g.x), static_cast<Sint16>(g.y), static_cast<Uint16>(g.width)};
    }
};

const cGlyphIndex& Index()
{
    static const cGlyphIndex index;
    return index;
}

} // namespace

cTekst::cTekst(cGameEngine* engine) : sheet(SDL_DisplayFormatAlpha(engine->images.fnt))
{
    // Not run-length encoded: each glyph is a small piece of a wide sheet, and SDL
    // would walk every encoded row from its start to find it.
}

cTekst::~cTekst()
{
    SDL_FreeSurface(sheet);
}

const cTekst::cGlyph* cTekst::Glyph(unsigned char c)
{
    const cGlyph& glyph = Index().byCode[c];
    return glyph.w > 0 ? &glyph : nullptr;
}

void cTekst::DrawText(const std::string& text, int x, int y, SDL_Surface* target, size_t count)
{
    if (!target)
        return;
    Sint16 penX = static_cast<Sint16>(x);
    const size_t end = count < text.size() ? count : text.size();
    for (size_t i = 0; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ') {
            penX = static_cast<Sint16>(penX + SPACE_ADVANCE);
            continue;
        }
        const cGlyph* glyph = Glyph(c);
        if (!glyph)
            continue;
        SDL_Rect from{glyph->x, glyph->y, glyph->w, GLYPH_HEIGHT};
        SDL_Rect at{penX, static_cast<Sint16>(y), 0, 0};
        SDL_BlitSurface(sheet, &from, target, &at);
        penX = static_cast<Sint16>(penX + glyph->w);
    }
}
