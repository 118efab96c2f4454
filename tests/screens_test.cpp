// The screens on the real engine and pictures, headless: the way through the game, the
// dialog, the buttons, the text and a puzzle played with the mouse.
#include "cHeadlessGame.h"
#include "screens/cGlavniMeni.h"
#include "screens/cIntro.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"
#include "widgets/cDugme.h"
#include "widgets/cDugmeIzlaz.h"
#include "widgets/cTekst.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using H = cHeadlessGame;

// The logs' bark: brown, red well above blue, nothing like the pale sky or the green meadow.
bool Wood(uint32_t pixel)
{
    const int r = pixel >> 16 & 255, g = pixel >> 8 & 255, b = pixel & 255;
    return r >= g && r > b + 30 && r < 240;
}

// Log heights, tallest first; a log dropped in slot k stands 7 pixels left of its flower at
// (23 + 40 k, 376), its foot 3 pixels above it.
const int FOOT = 373, HEIGHTS[] = {195, 175, 160, 144, 130, 112, 96, 80, 63, 48};
const auto DropX = [](int k) { return 16 + 40 * k; };

class ScreensTest : public ::testing::Test
{
protected:
    ScreensTest()
    {
        game.Frames();
        EXPECT_EQ(trace.Take(), "cGameEngine Init\ncDugme Init\n");
    }

    cGameState* Top() { return game.engine.states.back(); }
    // Key presses, all in one frame.
    void Keys(std::initializer_list<SDLKey> keys)
    {
        for (SDLKey key : keys)
            H::PushKey(key);
        game.Frames();
    }
    void Click(int x, int y)
    {
        H::PushClick(x, y);
        game.Frames();
    }
    uint32_t At(int x, int y) { return H::Pixel(game.engine.screen, x, y); }
    // The whole screen's pixels, row by row; how many in the area (x, y, w, h) differ now.
    std::vector<uint32_t> Shot()
    {
        std::vector<uint32_t> pixels;
        for (int row = 0; row < 480; ++row)
            for (int column = 0; column < 640; ++column)
                pixels.push_back(At(column, row));
        return pixels;
    }
    int Changed(const std::vector<uint32_t>& shot, int x, int y, int w, int h)
    {
        int count = 0;
        for (int row = y; row < y + h; ++row)
            for (int column = x; column < x + w; ++column)
                count += At(column, row) != shot[row * 640 + column];
        return count;
    }
    // The dialog's yes answer: bright yellow when chosen, greyed when not.
    bool YesChosen()
    {
        EXPECT_TRUE(H::Near(At(300, 233), 0xffd21f) || H::Near(At(300, 233), 0xe9e6dc));
        return H::Near(At(300, 233), 0xffd21f);
    }

    cTrace trace;
    cHeadlessGame game;
};

TEST_F(ScreensTest, TheWayThroughTheScreensByTheirButtonsAndOutByTheCloseButton)
{
    EXPECT_EQ(game.Heard(), "odjava.wav") << "the intro greets with the farewell's tune";
    // The start button at (207, 318), 215 x 102: pressed, left, hovered again on return.
    const cDugmeSprajt& start = static_cast<cDugme*>(cIntro::Instance()->objects.front())->look;
    H::PushButton(true, SDL_BUTTON_LEFT, 314, 369);
    game.Frames();
    // Pressed, the white disc sinks 8 pixels: (253, 390) near its foot is white only then.
    EXPECT_TRUE(start.current == &start.pressedFrame && H::Near(At(253, 390), 0xffffff));
    H::PushMotion(5, 5); // out: disarmed, so coming back only hovers
    H::PushMotion(421, 419);
    game.Frames();
    EXPECT_TRUE(start.current == &start.hoverFrame && !H::Near(At(253, 390), 0xffffff));
    // A press elsewhere and a release inside clicks; the button's last row (419) is in, 420 not.
    H::PushButton(true, SDL_BUTTON_LEFT, 5, 5);
    H::PushButton(false, SDL_BUTTON_LEFT, 314, 420);
    game.Frames();
    ASSERT_EQ(Top(), cIntro::Instance());
    H::PushButton(false, SDL_BUTTON_LEFT, 314, 419);
    game.Frames();
    ASSERT_EQ(Top(), cIzbor::Instance());
    EXPECT_EQ(game.Heard(), "klik.wav");

    // "Stapici" shows on the sign at (208, 243) only while the icon (251, 47), 45 x 35, is
    // hovered (its edges are outside), its ink from x 209 to 273.
    EXPECT_TRUE(H::Near(At(212, 252), 0xfff6dc)) << "the sign's bare face";
    const std::vector<uint32_t> sign = Shot();
    for (int x : {252, 295, 251, 296, 273}) {
        H::PushMotion(x, 64);
        game.Frames();
        EXPECT_EQ(Changed(sign, 208, 243, 67, 19) > 0, x > 251 && x < 296) << x;
    }
    EXPECT_TRUE(Changed(sign, 269, 243, 5, 19) > 0 && Changed(sign, 274, 243, 9, 19) == 0);
    Click(273, 64);
    ASSERT_EQ(Top(), cSerijacija::Instance());
    EXPECT_EQ(game.Heard(), "music in 1000, klik.wav");
    // The meadow (0x8cc04c where it begins) shows through the clear corners of each flower.
    EXPECT_TRUE(H::Near(At(23, 376), 0x8cc04c, 12) && H::Near(At(37, 376), 0x8cc04c, 12));

    // The exit button at (532, 19), 89 x 75.
    const cDugmeSprajt& exit = cSerijacija::Instance()->exitButton->look;
    H::PushButton(true, SDL_BUTTON_LEFT, 5, 470);
    H::PushMotion(576, 56);
    game.Frames();
    EXPECT_EQ(exit.current, &exit.pressedFrame) << "armed by a press outside";
    // Neither a right release on it nor a left one outside clicks; the latter disarms.
    H::PushButton(false, SDL_BUTTON_RIGHT, 576, 56);
    H::PushButton(false, SDL_BUTTON_LEFT, 5, 470);
    H::PushMotion(576, 57);
    game.Frames();
    ASSERT_EQ(Top(), cSerijacija::Instance());
    EXPECT_EQ(exit.current, &exit.hoverFrame);
    EXPECT_EQ(game.Heard(), "");
    // The click leaves the puzzle inside the button's own handler; the rest of the
    // frame's events still reach the old screen's objects, which live until it ends.
    H::PushClick(576, 56);
    H::PushClick(576, 56);
    game.Frames();
    EXPECT_TRUE(H::Near(At(212, 252), 0xfff6dc)) << "every entry starts without the name";
    EXPECT_EQ(game.Heard(), "klik.wav, music out 1000, klik.wav");

    H::PushQuit();
    game.Frames();
    EXPECT_FALSE(game.engine.Running());
    game.Stop();
    EXPECT_EQ(trace.Take(), "cIntro Cleanup\ncIzbor Cleanup\ncSerijacija Cleanup\n"
                            "cIzbor Cleanup\ncIzbor Cleanup\ncGameEngine Cleanup\n");
    EXPECT_EQ(game.Heard(), "odjava.wav") << "the farewell";
}

TEST_F(ScreensTest, TheDialogOpensOnceOverEveryScreenAndOnlyYesEndsTheGame)
{
    for (auto [name, x, y] :
         {std::tuple{"cIntro", 314, 369}, {"cIzbor", 273, 64}, {"cSerijacija", 0, 0}}) {
        game.Heard();
        // Two Esc in one frame: the dialog opens once and the second Esc is its own.
        Keys({SDLK_ESCAPE, SDLK_ESCAPE});
        EXPECT_EQ(trace.Take(), std::string(name) + " Pause\ncGlavniMeni Init\n");
        EXPECT_FALSE(YesChosen());
        Keys({SDLK_DOWN}); // the answer wraps around, this way and back
        EXPECT_TRUE(YesChosen());
        Keys({SDLK_UP, SDLK_DOWN, SDLK_DOWN, SDLK_UP});
        EXPECT_TRUE(YesChosen());
        EXPECT_EQ(game.Heard(), "") << "the dialog is silent";
        // Enter on "no" closes it; a second Enter in that frame belongs to the screen below.
        Keys({SDLK_UP, SDLK_RETURN, SDLK_RETURN});
        EXPECT_EQ(trace.Take(), std::string("cGlavniMeni cleanup\n") + name + " Resume\n");
        if (x > 0) // on by the start button, then by the logs' icon
            Click(x, y);
        trace.Take();
    }
    Keys({SDLK_ESCAPE});
    Keys({SDLK_DOWN, SDLK_RETURN});
    EXPECT_FALSE(game.engine.Running());
}

// A screen that leaves in the middle of a frame still takes the rest of that frame's input,
// and what it asks for then lands on the new screen.
TEST(ScreensSameFrame, InputAfterAChangeOfScreenInTheSameFrameStillCounts)
{
    struct cCase
    {
        int clicksToGetThere; // 0 the intro, 1 the landscape, 2 the puzzle
        void (*input)();
        std::string trace, heard;
        cGameState* top;
    };
    const cCase cases[] = {
        // The start button, then Esc: the intro's own handler opens the dialog over the landscape.
        {0, [] { H::PushClick(314, 369), H::PushKey(SDLK_ESCAPE); },
         "cIntro Cleanup\ncIzbor Pause\ncGlavniMeni Init\n", "klik.wav", cGlavniMeni::Instance()},
        {1, [] { H::PushClick(273, 64), H::PushKey(SDLK_ESCAPE); },
         "cIzbor Cleanup\ncSerijacija Pause\ncGlavniMeni Init\n", "music in 1000, klik.wav",
         cGlavniMeni::Instance()},
        // Esc, Return on "no", Space: the dialog comes and goes; the Space left starts anew.
        {2, [] { H::PushKey(SDLK_ESCAPE), H::PushKey(SDLK_RETURN), H::PushKey(SDLK_SPACE); },
         "cSerijacija Pause\ncGlavniMeni Init\ncGlavniMeni cleanup\ncSerijacija Resume\n"
         "cSerijacija Cleanup\n",
         "music out 1000, music in 1000", cSerijacija::Instance()},
        {2, [] { H::PushKey(SDLK_SPACE), H::PushKey(SDLK_SPACE); },
         "cSerijacija Cleanup\ncSerijacija Cleanup\n",
         "music out 1000, music in 1000, music out 1000, music in 1000", cSerijacija::Instance()},
        // The exit button, then Space: the puzzle's loop asks for a new puzzle after all.
        {2, [] { H::PushClick(576, 56), H::PushKey(SDLK_SPACE); },
         "cSerijacija Cleanup\ncIzbor Cleanup\n", "klik.wav, music out 1000, music in 1000",
         cSerijacija::Instance()},
    };
    for (const cCase& c : cases) {
        cTrace trace;
        cHeadlessGame game;
        game.Frames();
        for (int i = 0; i < c.clicksToGetThere; ++i) { // the start button, then the logs' icon
            H::PushClick(i == 0 ? 314 : 273, i == 0 ? 369 : 64);
            game.Frames();
        }
        trace.Take();
        game.Heard();
        c.input();
        game.Frames(3); // what the first frame left in the queue is taken in the next
        EXPECT_EQ(trace.Take(), c.trace);
        EXPECT_EQ(game.Heard(), c.heard) << c.trace;
        EXPECT_EQ(game.engine.states.back(), c.top) << c.trace;
    }
}

TEST_F(ScreensTest, APuzzlePlayedWithTheMouseIsJudgedAndStartsAnew)
{
    Click(314, 369);
    SDL_Delay(400); // a child looks at the landscape before choosing
    Click(273, 64);
    cSerijacija* screen = cSerijacija::Instance();
    Uint32 setUp = SDL_GetTicks(); // the puzzle's timer counts from here, within a frame
    for (bool right : {true, false}) {
        trace.Take();
        game.Heard();
        std::vector<uint32_t> before; // the screen before the tenth log
        // Each log dragged by its middle onto a flower: shortest left when right, the two shortest
        // swapped if not; the tenth in slot 0, clear of the verdict (180, 200) and hint (120, 324).
        for (int n = 0; n < 10; ++n) {
            const int k = (n + 1) % 10, h = HEIGHTS[9 - (right || k > 1 ? k : 1 - k)];
            const cBalvan* log = nullptr;
            for (const cBalvan& l : screen->puzzle.logs)
                if (l.GetRect().h == h)
                    log = &l;
            ASSERT_TRUE(log) << h;
            const SDL_Rect from = log->GetRect();
            if (n == 9)
                before = Shot();
            H::PushButton(true, SDL_BUTTON_LEFT, from.x + 14, from.y + from.h / 2);
            H::PushMotion(23 + 40 * k + 14, 366 + from.h / 2);
            H::PushButton(false, SDL_BUTTON_LEFT, 0, 0);
            game.Frames();
            // Left of its flower, foot just above it: bark below, the light cut face (0xf3d39b)
            // on top; gone from its column (placed shortest first, none at home is drawn over it).
            const int x = DropX(k) + 14;
            EXPECT_TRUE(Wood(At(x, FOOT - 3)) && H::Near(At(x, FOOT - h + 8), 0xf3d39b))
                << "a log " << h << " high in slot " << k;
            EXPECT_FALSE(Wood(At(from.x + 14, from.y + 6))) << "left its column at " << from.x;
            const std::string verdict = right ? "aplauz.wav" : "ponovo.wav";
            EXPECT_EQ(game.Heard(), n < 9 ? "ubac.wav" : "ubac.wav, music out 100, " + verdict);
        }
        // Typed a letter every other frame, "Bravo!" in six, "Greska!" in seven; the hint
        // only ever drawn after the verdict, and then exactly while the timer says so.
        std::vector<int> grewAt;
        int inked = Changed(before, 180, 200, 80, 19);
        const size_t typedAtOnce = inked > 0; // a letter in the frame of the drop, if even
        for (int frame = 1; frame <= 20; ++frame) {
            const bool hintBefore = cSerijacija::HintShown(screen->timer.GetTicks());
            EXPECT_NEAR(screen->timer.GetTicks(), SDL_GetTicks() - setUp, 100);
            game.Frames();
            const int now = Changed(before, 180, 200, 80, 19);
            if (now > inked)
                grewAt.push_back(frame);
            EXPECT_GE(now, inked);
            inked = now;
            const bool turned = hintBefore != cSerijacija::HintShown(screen->timer.GetTicks());
            EXPECT_TRUE(turned || (Changed(before, 120, 324, 250, 19) > 0) == hintBefore) << frame;
        }
        // Once it shows, the hint is "Pritisni desni taster misa", 247 pixels wide: its ink
        // ends within the last 16 of them.
        while (!cSerijacija::HintShown(screen->timer.GetTicks()))
            SDL_Delay(10);
        game.Frames();
        EXPECT_TRUE(Changed(before, 120 + 231, 324, 16, 19) > 0 &&
                    Changed(before, 120 + 247, 324, 3, 19) == 0);
        ASSERT_EQ(typedAtOnce + grewAt.size(), right ? 6u : 7u) << "letters";
        for (size_t i = 0; i < grewAt.size(); ++i)
            EXPECT_EQ(grewAt[i], int(typedAtOnce + 1 + 2 * i)) << "one letter every second frame";
        // The right button starts anew after the first puzzle, Return after the second.
        right ? H::PushButton(true, SDL_BUTTON_RIGHT, 300, 300) : H::PushKey(SDLK_RETURN);
        game.Frames();
        setUp = SDL_GetTicks();
        EXPECT_EQ(trace.Take(), "cSerijacija Cleanup\n");
        EXPECT_EQ(game.Heard(), "music out 1000, music in 1000");
    }
    Keys({SDLK_RETURN, SDLK_SPACE});
    EXPECT_EQ(trace.Take(), "cSerijacija Cleanup\n") << "Space starts anew, Return does not";
}

// The hint blinks with the puzzle's own timer: 1024 ms hidden, 1024 ms shown, from set-up.
TEST(ScreensHint, TheHintIsShownInTheSecondHalfOfEvery2048Milliseconds)
{
    const int ticks[] = {0, 1023, 1024, 2047, 2048, 3072, 5119};
    const bool shown[] = {false, false, true, true, false, true, false};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(cSerijacija::HintShown(ticks[i]), shown[i]) << ticks[i];
}

TEST_F(ScreensTest, ASpaceAdvancesThePenAndOnlyTheFirstLettersAskedForAreDrawn)
{
    cTekst text(&game.engine);
    auto drawn = [&, s = game.engine.screen](const std::string& line, size_t count, int left = 0) {
        SDL_FillRect(s, nullptr, 0);
        text.DrawText(line, left, 0, s, count);
        return std::string(static_cast<const char*>(s->pixels), s->pitch * 19);
    };
    // Each text as wide as the player sees it: a letter after it lands where the pen ends.
    const char* texts[] = {"Stapici", "Bravo!", "Pritisni desni taster misa", "Greska!",
                           " ",       "a.b",    "Klikni za novu igru"};
    const int widths[] = {67, 58, 247, 72, 10, 22, 179};
    for (int n = 0; n < 7; ++n) {
        const std::string text(texts[n]);
        std::string both = drawn(text + "W", text.size() + 1), apart = drawn("W", 1, widths[n]);
        const std::string first = drawn(text, text.size());
        for (size_t i = 0; i < both.size(); ++i)
            apart[i] |= first[i]; // the two drawings laid over each other
        EXPECT_TRUE(both == apart) << text << " is " << widths[n] << " pixels wide";
    }
    EXPECT_TRUE(drawn("ab", 1) == drawn("a", 1));
    EXPECT_TRUE(drawn("ab", 0) == drawn("", 0));
}

} // namespace
