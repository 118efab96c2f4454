// The screens on the real engine and pictures, headless: the way through the game, the
// dialog, the buttons, F11, and a puzzle played with the mouse.
#include "cHeadlessGame.h"
#include "engine/cLayout.h"
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

using L = cLayout;
using H = cHeadlessGame;

// Every mode the game asks for, and switches that can be made to fail.
std::vector<Uint32> modes;
bool failFullscreen, failWindow;
SDL_Surface* RecordingSetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    modes.push_back(flags);
    if ((flags & SDL_FULLSCREEN) ? failFullscreen : failWindow)
        return nullptr;
    return SDL_SetVideoMode(w, h, bpp, flags & ~SDL_FULLSCREEN);
}

class ScreensTest : public ::testing::Test
{
protected:
    ScreensTest()
    {
        modes.clear();
        failFullscreen = failWindow = false;
        game.engine.display.setVideoMode = RecordingSetVideoMode;
        game.Frames();
        trace.Take();
    }

    static int MidX(const L::cButton& b) { return b.hit.x + b.hit.w / 2; }
    static int MidY(const L::cButton& b) { return b.hit.y + b.hit.h / 2; }
    cGameState* Top() { return game.engine.states.back(); }
    // Key presses, all in one frame.
    void Keys(std::initializer_list<SDLKey> keys)
    {
        for (SDLKey key : keys)
            H::PushKey(key);
        game.Frames();
    }
    void Click(const L::cButton& b)
    {
        H::PushClick(MidX(b), MidY(b));
        game.Frames();
    }
    // Looks in the highlighted "yes", which "no" shows plain.
    bool DialogShows(SDL_Surface* answer)
    {
        return game.Shows(answer, L::DIALOG.x, L::DIALOG.y, L::DIALOG.x + 108, L::DIALOG.y + 57);
    }

    cTrace trace;
    cHeadlessGame game;
    cImageSet& images = game.engine.images;
};

TEST_F(ScreensTest, TheWayThroughTheScreensByTheirButtonsAndOutByTheCloseButton)
{
    EXPECT_TRUE(game.Shows(images.startSprajtmapa, L::START_BUTTON.hit.x, L::START_BUTTON.hit.y,
                           MidX(L::START_BUTTON), MidY(L::START_BUTTON)));
    const cDugmeSprajt& start = static_cast<cDugme*>(cIntro::Instance()->objects.front())->look;
    H::PushButton(true, SDL_BUTTON_LEFT, MidX(L::START_BUTTON), MidY(L::START_BUTTON));
    game.Frames();
    EXPECT_EQ(start.current, &start.pressedFrame);
    H::PushMotion(5, 5); // out: disarmed, so coming back only hovers
    H::PushMotion(MidX(L::START_BUTTON), MidY(L::START_BUTTON));
    game.Frames();
    EXPECT_EQ(start.current, &start.hoverFrame);
    // A press elsewhere and a release inside still clicks.
    H::PushButton(true, SDL_BUTTON_LEFT, 5, 5);
    H::PushButton(false, SDL_BUTTON_LEFT, MidX(L::START_BUTTON), MidY(L::START_BUTTON));
    game.Frames();
    EXPECT_TRUE(game.Shows(images.pejzaz, 0, 0, 3, 3));

    // The name shows under the icon only while it is hovered; its edges are outside.
    const L::cPoint name = L::ACTIVITY_NAME;
    auto nameArea = [&] { return H::Pixel(game.engine.screen, name.x + 4, name.y + 9); };
    const uint32_t plain = nameArea();
    const SDL_Rect& icon = L::ACTIVITY_ICON.hit;
    for (int x : {MidX(L::ACTIVITY_ICON), icon.x + 0, icon.x + icon.w}) {
        H::PushMotion(x, MidY(L::ACTIVITY_ICON));
        game.Frames();
        EXPECT_EQ(nameArea() != plain, x == MidX(L::ACTIVITY_ICON)) << x;
    }
    Click(L::ACTIVITY_ICON);
    ASSERT_EQ(Top(), cSerijacija::Instance());

    const cDugmeSprajt& exit = cSerijacija::Instance()->exitButton->look;
    H::PushButton(true, SDL_BUTTON_LEFT, 5, 470);
    H::PushMotion(MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON));
    game.Frames();
    EXPECT_EQ(exit.current, &exit.pressedFrame) << "armed by a press outside";
    // Neither a right release on it nor a left one outside clicks; the latter disarms.
    H::PushButton(false, SDL_BUTTON_RIGHT, MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON));
    H::PushButton(false, SDL_BUTTON_LEFT, 5, 470);
    H::PushMotion(MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON) + 1);
    game.Frames();
    ASSERT_EQ(Top(), cSerijacija::Instance());
    EXPECT_EQ(exit.current, &exit.hoverFrame);
    // The click leaves the puzzle inside the button's own handler; the rest of the
    // frame's events still reach the old screen's objects, which live until it ends.
    H::PushClick(MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON));
    H::PushClick(MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON));
    game.Frames();
    EXPECT_EQ(nameArea(), plain) << "every entry starts without the name";

    H::PushQuit();
    game.Frames();
    EXPECT_FALSE(game.engine.Running());
    game.Stop();
    EXPECT_EQ(trace.Take(), "cIntro Cleanup\ncIzbor Cleanup\ncSerijacija Cleanup\n"
                            "cIzbor Cleanup\ncIzbor Cleanup\ncGameEngine Cleanup\n");
}

TEST_F(ScreensTest, TheDialogOpensOnceOverEveryScreenAndOnlyYesEndsTheGame)
{
    for (const char* name : {"cIntro", "cIzbor", "cSerijacija"}) {
        // Two Esc in one frame: the dialog opens once and the second Esc is its own.
        Keys({SDLK_ESCAPE, SDLK_ESCAPE});
        EXPECT_EQ(trace.Take(), std::string(name) + " Pause\ncGlavniMeni Init\n");
        EXPECT_TRUE(DialogShows(images.meniNe));
        Keys({SDLK_DOWN}); // the answer wraps around, this way and back
        EXPECT_TRUE(DialogShows(images.meniDa));
        // Enter on "no" closes it; a second Enter in that frame belongs to the screen below.
        Keys({SDLK_UP, SDLK_RETURN, SDLK_RETURN});
        EXPECT_EQ(trace.Take(), std::string("cGlavniMeni cleanup\n") + name + " Resume\n");
        Click(Top() == cIntro::Instance() ? L::START_BUTTON : L::ACTIVITY_ICON);
        trace.Take();
    }
    Keys({SDLK_ESCAPE});
    Keys({SDLK_DOWN, SDLK_RETURN});
    EXPECT_FALSE(game.engine.Running());

    // With nothing below, Enter on "no" leaves the dialog up: the game needs a screen.
    game.engine.PopState();
    game.engine.ChangeState(cGlavniMeni::Instance());
    Keys({SDLK_RETURN});
    EXPECT_EQ(Top(), cGlavniMeni::Instance());
}

TEST_F(ScreensTest, F11KeepsEachScreensOwnFlagAndAFailedSwitchKeepsAWorkingScreen)
{
    const Uint32 FS = SDL_FULLSCREEN;
    H::PushKey(SDLK_ESCAPE, false); // a key's release alone does nothing, Esc's neither
    Keys({SDLK_F11});
    EXPECT_TRUE(game.Shows(images.sivo, 0, 0, 3, 3)) << "drawn whole on the new surface";
    failFullscreen = true; // the intro's flag lasts: the next F11 asks for a window
    Keys({SDLK_F11});
    Click(L::START_BUTTON);
    Keys({SDLK_F11}); // the selection's flag starts cleared: asks for full screen, refused
    failFullscreen = false;
    Keys({SDLK_F11, SDLK_F11}); // full screen and back: the icon is clicked in the window
    Click(L::ACTIVITY_ICON);
    Keys({SDLK_F11, SDLK_SPACE, SDLK_F11}); // so does every new puzzle's
    // Over sdl12-compat the game presents its picture itself, options or none, and a
    // switch to the mode the display is already in asks SDL for nothing.
    const SDL_version* sdl = SDL_Linked_Version();
    const bool compat = sdl->major == 1 && sdl->minor == 2 && sdl->patch >= 50;
    const std::vector<Uint32> asked = compat ? std::vector<Uint32>{FS, 0, FS, 0, FS, 0, FS}
                                             : std::vector<Uint32>{FS, 0, FS, 0, FS, 0, FS, FS};
    EXPECT_EQ(modes, asked);

    // When no mode works the game ends cleanly after this frame, drawing only into a
    // picture of its own, if it has one.
    failFullscreen = failWindow = true;
    Keys({SDLK_F11, SDLK_F11});
    EXPECT_EQ(game.engine.screen != nullptr, compat);
    EXPECT_FALSE(game.engine.Running());
}

TEST_F(ScreensTest, APuzzlePlayedWithTheMouseIsJudgedAndStartsAnew)
{
    Click(L::START_BUTTON);
    Click(L::ACTIVITY_ICON);
    cSerijacija* screen = cSerijacija::Instance();
    auto written = [&] { // how many points of the verdict's area the letters cover
        int count = 0;
        for (int x = L::VERDICT.x; x < L::VERDICT.x + 80; ++x)
            for (int y = L::VERDICT.y; y < L::VERDICT.y + 19; y += 3)
                count += !game.Shows(images.sssBezBalvana, 0, 0, x, y);
        return count;
    };
    for (bool right : {true, false}) {
        trace.Take();
        for (int i = 0; i < L::COLUMN_COUNT; ++i) {
            // Dragged by its middle onto a flower, it stands there drawn from its own frame.
            const cBalvan& log = screen->puzzle.logs[i];
            const SDL_Rect &r = log.GetRect(), &f = L::LOG_FRAMES[i]; // r follows the log
            const int k = right ? log.GetTarget() : L::COLUMN_COUNT - 1 - log.GetTarget();
            H::PushButton(true, SDL_BUTTON_LEFT, r.x + r.w / 2, r.y + r.h / 2);
            H::PushMotion(L::SlotX(k) + r.w / 2, L::SLOT_Y - 10 + r.h / 2);
            H::PushButton(false, SDL_BUTTON_LEFT, 0, 0);
            game.Frames();
            EXPECT_TRUE(game.Shows(images.balvaniSprajtmapa, r.x - f.x, r.y - f.y, r.x + 14,
                                   r.y + r.h - 5));
        }
        const int firstLetters = written();
        const std::string verdict = right ? "Bravo!" : "Greska!";
        // Typed out a letter every other frame, and no more letters than it has.
        game.Frames(2 * verdict.size() + 2);
        EXPECT_EQ(screen->lettersShown, verdict.size());
        EXPECT_GT(written(), 2 * firstLetters + 10) << verdict << " types itself out";
        // The right button starts anew after the first puzzle, Return after the second.
        right ? H::PushButton(true, SDL_BUTTON_RIGHT, 300, 300) : H::PushKey(SDLK_RETURN);
        game.Frames();
        EXPECT_EQ(trace.Take(), "cSerijacija Cleanup\n");
    }
    Keys({SDLK_RETURN, SDLK_SPACE});
    EXPECT_EQ(trace.Take(), "cSerijacija Cleanup\n") << "Space starts anew, Return does not";
}

TEST_F(ScreensTest, ASpaceAdvancesThePenAndOnlyTheFirstLettersAskedForAreDrawn)
{
    cTekst text(&game.engine);
    auto drawn = [&, s = game.engine.screen](const std::string& line, size_t count, int left = 0) {
        SDL_FillRect(s, nullptr, 0);
        text.DrawText(line, left, 0, s, count);
        return std::string(static_cast<const char*>(s->pixels), s->pitch * cTekst::GLYPH_HEIGHT);
    };
    EXPECT_TRUE(drawn(" b", 2) == drawn("b", 1, cTekst::SPACE_ADVANCE));
    EXPECT_TRUE(drawn("ab", 1) == drawn("a", 1));
    EXPECT_TRUE(drawn("ab", 0) == drawn("", 0));
}

} // namespace
