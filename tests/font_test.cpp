// The bitmap font measured in pixels: the game's texts, skipped bytes and the typewriter.
#include "cHeadlessGame.h"
#include "widgets/cTekst.h"

#include <gtest/gtest.h>

namespace {

const uint32_t PAPER = 0x102030; // the stand-in glyphs are opaque white on transparent
const int X = 40, Y = 100;

struct FontTest : ::testing::Test
{
    struct cSpan
    {
        int first = -1, width = 0, inked = 0;
    };
    // Where ink lies on one screen row, by default halfway down the glyphs; `draw` first draws on a
    // clean screen.
    template <class F>
    cSpan Ink(F draw, int y = Y + cTekst::GLYPH_HEIGHT / 2)
    {
        SDL_FillRect(game.engine.screen, nullptr,
                     SDL_MapRGB(game.engine.screen->format, 0x10, 0x20, 0x30));
        draw(game.engine.screen);
        cSpan span;
        for (int x = 0; x < 640; ++x)
            if (game.Pixel(x, y) != PAPER)
                span = {span.first < 0 ? x : span.first, x - (span.first < 0 ? x : span.first) + 1,
                        span.inked + 1};
        return span;
    }
    cSpan Measure(const std::string& text, int y = Y + cTekst::GLYPH_HEIGHT / 2)
    {
        return Ink([&](SDL_Surface* s) { text_.DrawText(text, X, Y, s); }, y);
    }

    cHeadlessGame game{32};
    cTekst text_{&game.engine};
};

TEST_F(FontTest, TextWidthsAndBytesWithoutAGlyph)
{
    // Glyphs are set edge to edge, 19 rows high from the pen down; a space moves the pen 10 pixels.
    for (auto [text, width] : {std::pair{"Stapici", 67},
                               {"Bravo!", 58},
                               {"Greska!", 72},
                               {"Pritisni desni taster misa", 247}}) {
        EXPECT_EQ(cTekst::TextWidth(text), width) << text;
        for (auto [y, w] :
             {std::pair{Y - 1, 0}, {Y, width}, {Y + 9, width}, {Y + 18, width}, {Y + 19, 0}})
            EXPECT_EQ(Measure(text, y).width, w) << text << " at row " << y;
        EXPECT_EQ(Measure(text).inked, text[0] == 'P' ? width - 30 : width) << text;
    }
    // "ab" is 22 wide; other bytes without a glyph, UTF-8 "š" among them, neither draw nor move the
    // pen.
    for (std::string between : {"", ".", "\n", "/", "\"", "{", "\t", "\xC5\xA1", " "}) {
        const cSpan span = Measure("a" + between + "b");
        EXPECT_EQ(std::tuple(span.first, span.width, span.inked),
                  std::tuple(X, between == " " ? 32 : 22, 22))
            << int(between[0]);
    }
    EXPECT_EQ(Measure(" a").first, X + 10);
    EXPECT_EQ(Ink([&](SDL_Surface*) { text_.DrawText("Bravo!", X, Y, nullptr); }).width, 0);
}

TEST_F(FontTest, TypeTextRevealsOneByteOnEvenFramesOnly)
{
    const std::string word = "Bravo!";
    const int widths[] = {0, 10, 21, 32, 42, 52, 58}; // B, r, a, v, o, !
    for (uint32_t frame = 1; frame < 18; ++frame) {
        const int x = frame < 14 ? X : X + 7; // once whole it is drawn wherever asked
        const size_t shown = frame / 2 < word.size() ? frame / 2 : word.size();
        const cSpan span = Ink([&](SDL_Surface* s) { text_.TypeText(word, x, Y, s, frame); });
        EXPECT_EQ(text_.Revealed(), word.substr(0, shown)) << frame;
        EXPECT_EQ(std::pair(span.first, span.width), std::pair(shown ? x : -1, widths[shown]))
            << frame;
    }
    // The count is the object's, not the source's: a new source goes on from it, without a target
    // too.
    text_.TypeText("Greska!", X, Y, nullptr, 18);
    EXPECT_EQ(text_.Revealed(), "Bravo!!");
}

} // namespace
