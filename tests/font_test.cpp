// The bitmap font measured in pixels: glyph widths, skipped bytes and the typewriter.
#include "cHeadlessGame.h"
#include "widgets/cTekst.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const uint32_t PAPER = 0x102030; // the stand-in glyphs are opaque white on transparent
const int PEN_X = 40;
const int PEN_Y = 100;

// Where ink lies on one screen row, and whether it is one unbroken run.
struct cSpan
{
    int first = -1;
    int last = -1;
    int inked = 0;

    int Width() const { return first < 0 ? 0 : last - first + 1; }
    bool Solid() const { return inked == Width(); }
};

class FontTest : public ::testing::Test
{
protected:
    void Clear()
    {
        SDL_Surface* s = game.engine.screen;
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, PAPER >> 16, (PAPER >> 8) & 0xFF, PAPER & 0xFF));
    }

    cSpan Row(int y)
    {
        cSpan span;
        for (int x = 0; x < game.engine.screen->w; ++x) {
            if (game.Pixel(x, y) == PAPER)
                continue;
            if (span.first < 0)
                span.first = x;
            span.last = x;
            span.inked += 1;
        }
        return span;
    }

    // Draws `text` alone on a clean screen and measures it halfway down the glyphs.
    cSpan Measure(const std::string& text)
    {
        Clear();
        text_.DrawText(text, PEN_X, PEN_Y, game.engine.screen);
        return Row(PEN_Y + cTekst::GLYPH_HEIGHT / 2);
    }

    cHeadlessGame game{32};
    cTekst text_{&game.engine};
};

TEST_F(FontTest, TheGameTextsHaveTheirWidths)
{
    struct
    {
        const char* text;
        int width;
    } const texts[] = {
        {"Stapici", 67}, {"Bravo!", 58}, {"Greska!", 72}, {"Pritisni desni taster misa", 247}};
    for (const auto& t : texts) {
        cSpan span = Measure(t.text);
        EXPECT_EQ(span.first, PEN_X) << t.text;
        EXPECT_EQ(span.Width(), t.width) << t.text;
        EXPECT_EQ(cTekst::TextWidth(t.text), t.width) << t.text;
    }
    // The words without spaces are a single run of glyphs set edge to edge.
    EXPECT_TRUE(Measure("Stapici").Solid());
    // Three spaces of 10 pixels each leave three gaps in the hint.
    EXPECT_EQ(Measure("Pritisni desni taster misa").inked, 247 - 30);
    // Glyphs are 19 rows high from the pen down.
    Measure("Bravo!");
    EXPECT_EQ(Row(PEN_Y - 1).Width(), 0);
    EXPECT_EQ(Row(PEN_Y).Width(), 58);
    EXPECT_EQ(Row(PEN_Y + cTekst::GLYPH_HEIGHT - 1).Width(), 58);
    EXPECT_EQ(Row(PEN_Y + cTekst::GLYPH_HEIGHT).Width(), 0);
}

TEST_F(FontTest, BytesWithoutAGlyphAreSkippedWithoutMovingThePen)
{
    const cSpan ab = Measure("ab");
    ASSERT_EQ(ab.Width(), 22);

    for (const std::string& text : {std::string("a.b"), std::string("a\nb"), std::string("a/b"),
                                   std::string("a\"b"), std::string("a{b"), std::string("a\tb")}) {
        cSpan span = Measure(text);
        EXPECT_EQ(span.first, PEN_X);
        EXPECT_EQ(span.Width(), 22) << "byte " << int(static_cast<unsigned char>(text[1]));
        EXPECT_TRUE(span.Solid()) << "byte " << int(static_cast<unsigned char>(text[1]));
    }

    // "š" in UTF-8 is two bytes above 122: neither draws, neither moves the pen.
    EXPECT_EQ(Measure("\xC5\xA1").Width(), 0);
    cSpan utf8 = Measure("a\xC5\xA1" "b");
    EXPECT_EQ(utf8.Width(), 22);
    EXPECT_TRUE(utf8.Solid());

    // The space draws nothing but moves the pen ten pixels.
    cSpan spaced = Measure("a b");
    EXPECT_EQ(spaced.Width(), 32);
    EXPECT_EQ(spaced.inked, 22);
    EXPECT_EQ(Measure(" ").Width(), 0);
    EXPECT_EQ(Measure(" a").first, PEN_X + 10);
}

TEST_F(FontTest, NothingIsDrawnOnNoTargetOrForNoText)
{
    Clear();
    text_.DrawText("Bravo!", PEN_X, PEN_Y, nullptr);
    text_.DrawText("", PEN_X, PEN_Y, game.engine.screen);
    EXPECT_EQ(Row(PEN_Y + 5).Width(), 0);

    // The typewriter still reveals without a target.
    text_.TypeText("Bravo!", PEN_X, PEN_Y, nullptr, 0);
    EXPECT_EQ(text_.Revealed(), "B");
}

TEST_F(FontTest, TypeTextRevealsOneByteOnEvenFramesOnly)
{
    const std::string word = "Bravo!";
    uint32_t frame = 0;
    // Odd frames first: nothing revealed yet, nothing drawn.
    Clear();
    text_.TypeText(word, PEN_X, PEN_Y, game.engine.screen, 1);
    EXPECT_EQ(text_.Revealed(), "");
    EXPECT_EQ(Row(PEN_Y + 5).Width(), 0);

    const int widths[] = {10, 21, 32, 42, 52, 58}; // B, r, a, v, o, !
    for (size_t shown = 1; shown <= word.size(); ++shown) {
        Clear();
        text_.TypeText(word, PEN_X, PEN_Y, game.engine.screen, frame++);
        EXPECT_EQ(text_.Revealed(), word.substr(0, shown));
        EXPECT_EQ(Row(PEN_Y + 5).Width(), widths[shown - 1]);
        // The odd frame that follows redraws the same letters without adding one.
        Clear();
        text_.TypeText(word, PEN_X, PEN_Y, game.engine.screen, frame++);
        EXPECT_EQ(text_.Revealed(), word.substr(0, shown));
        EXPECT_EQ(Row(PEN_Y + 5).Width(), widths[shown - 1]);
    }

    // Once the whole word is out it stays, drawn whole wherever it is asked for.
    for (int i = 0; i < 10; ++i) {
        Clear();
        text_.TypeText(word, PEN_X + 7, PEN_Y, game.engine.screen, frame++);
        EXPECT_EQ(text_.Revealed(), word);
        cSpan span = Row(PEN_Y + 5);
        EXPECT_EQ(span.first, PEN_X + 7);
        EXPECT_EQ(span.Width(), 58);
    }
}

TEST_F(FontTest, TypeTextGoesOnFromTheCountReached)
{
    // The count is the object's, not the source's: a new source continues from it.
    for (uint32_t frame = 0; frame < 12; frame += 2)
        text_.TypeText("Bravo!", PEN_X, PEN_Y, nullptr, frame);
    text_.TypeText("Greska!", PEN_X, PEN_Y, nullptr, 0);
    EXPECT_EQ(text_.Revealed(), "Bravo!!");
    text_.TypeText("Greska!", PEN_X, PEN_Y, nullptr, 0);
    EXPECT_EQ(text_.Revealed(), "Bravo!!");
}

} // namespace
