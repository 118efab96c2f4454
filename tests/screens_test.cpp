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
#include "widgets/cIkonica.h"
#include "widgets/cTekst.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using L = cLayout;

// The middle of a button's hit area.
int MidX(const L::cButton& b)
{
    return b.hit.x + b.hit.w / 2;
}
int MidY(const L::cButton& b)
{
    return b.hit.y + b.hit.h / 2;
}

// Every mode the game asks for, and switches that can be made to fail.
std::vector<Uint32> modes;
bool failFullscreen, failWindow;
SDL_Surface* RecordingSetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    modes.push_back(flags);
    if ((flags & SDL_FULLSCREEN) ? failFullscreen : failWindow) {
        SDL_SetError("refused by the test");
        return nullptr;
    }
    return SDL_SetVideoMode(w, h, bpp, flags & ~SDL_FULLSCREEN);
}

class ScreensTest : public ::testing::Test
{
protected:
    ScreensTest()
    {
        modes.clear();
        failFullscreen = failWindow = false;
        game.engine.setVideoMode = RecordingSetVideoMode;
        game.Frames();
        trace.Take();
    }

    cGameState* Top() { return game.engine.states.back(); }
    void Key(SDLKey key)
    {
        cHeadlessGame::PushKey(key);
        game.Frames();
    }
    void Click(const L::cButton& button)
    {
        cHeadlessGame::PushClick(MidX(button), MidY(button));
        game.Frames();
    }
    bool DialogShows(SDL_Surface* answer)
    {
        game.Frames();
        return game.Shows(answer, L::DIALOG.x, L::DIALOG.y, L::DIALOG.x + 30, L::DIALOG.y + 30);
    }

    cTrace trace;
    cHeadlessGame game;
    cImageSet& images = game.engine.images;
};

TEST_F(ScreensTest, TheWayThroughTheScreensAndOutByTheCloseButton)
{
    EXPECT_TRUE(game.Shows(images.sivo, 0, 0, 3, 3));
    EXPECT_TRUE(game.Shows(images.startSprajtmapa, L::START_BUTTON.hit.x, L::START_BUTTON.hit.y,
                           MidX(L::START_BUTTON), MidY(L::START_BUTTON)));
    Click(L::START_BUTTON);
    EXPECT_EQ(Top(), cIzbor::Instance());
    EXPECT_EQ(trace.Take(), "cIntro Cleanup\n");
    EXPECT_TRUE(game.Shows(images.pejzaz, 0, 0, 3, 3));

    // The name shows under the icon only while it is hovered.
    auto nameArea = [&] {
        return cHeadlessGame::Pixel(game.engine.screen, L::ACTIVITY_NAME.x + 4,
                                    L::ACTIVITY_NAME.y + 9);
    };
    const uint32_t plain = nameArea();
    cHeadlessGame::PushMotion(MidX(L::ACTIVITY_ICON), MidY(L::ACTIVITY_ICON));
    game.Frames();
    EXPECT_NE(nameArea(), plain);
    for (int edge : {L::ACTIVITY_ICON.hit.x + 0, L::ACTIVITY_ICON.hit.x + L::ACTIVITY_ICON.hit.w}) {
        cHeadlessGame::PushMotion(edge, MidY(L::ACTIVITY_ICON)); // on the edge: outside
        game.Frames();
        EXPECT_EQ(nameArea(), plain);
    }

    Click(L::ACTIVITY_ICON);
    EXPECT_EQ(Top(), cSerijacija::Instance());
    EXPECT_EQ(trace.Take(), "cIzbor Cleanup\n");
    Click(L::EXIT_BUTTON);
    EXPECT_EQ(Top(), cIzbor::Instance());
    EXPECT_EQ(trace.Take(), "cSerijacija Cleanup\n");
    EXPECT_EQ(nameArea(), plain) << "every entry starts without the name";

    cHeadlessGame::PushQuit();
    game.Frames();
    EXPECT_FALSE(game.engine.Running());
    game.Stop();
    EXPECT_EQ(trace.Take(), "cIzbor Cleanup\ncGameEngine Cleanup\n");
}

TEST_F(ScreensTest, TheDialogOpensOnceOverEveryScreenAndOnlyYesEndsTheGame)
{
    cHeadlessGame::PushKey(SDLK_ESCAPE, false); // a release alone does nothing
    game.Frames();
    EXPECT_EQ(trace.Take(), "");
    for (const char* name : {"cIntro", "cIzbor", "cSerijacija"}) {
        // Two Esc in one frame: the dialog opens once and the second Esc is its own.
        cHeadlessGame::PushKey(SDLK_ESCAPE);
        cHeadlessGame::PushKey(SDLK_ESCAPE);
        game.Frames();
        EXPECT_EQ(trace.Take(), std::string(name) + " Pause\ncGlavniMeni Init\n");
        EXPECT_TRUE(DialogShows(images.meniNe));
        Key(SDLK_DOWN);
        EXPECT_TRUE(DialogShows(images.meniDa));
        Key(SDLK_UP);
        Key(SDLK_UP);
        EXPECT_TRUE(DialogShows(images.meniDa)) << "the answer wraps around";
        Key(SDLK_DOWN);
        // Enter on "no" closes it; a second Enter in that frame belongs to the screen below.
        cHeadlessGame::PushKey(SDLK_RETURN);
        cHeadlessGame::PushKey(SDLK_RETURN);
        game.Frames();
        EXPECT_EQ(trace.Take(), std::string("cGlavniMeni cleanup\n") + name + " Resume\n");
        EXPECT_TRUE(game.engine.Running());
        Click(Top() == cIntro::Instance() ? L::START_BUTTON : L::ACTIVITY_ICON);
        trace.Take();
    }
    Key(SDLK_ESCAPE);
    Key(SDLK_DOWN);
    Key(SDLK_RETURN);
    EXPECT_FALSE(game.engine.Running());

    // With nothing below, Enter on "no" leaves the dialog up: the game needs a screen.
    game.engine.PopState();
    game.engine.ChangeState(cGlavniMeni::Instance());
    game.engine.running = true;
    Key(SDLK_RETURN);
    EXPECT_EQ(Top(), cGlavniMeni::Instance());
}

TEST_F(ScreensTest, ButtonsShowHoverAndPressAndTheExitButtonArmsAnywhere)
{
    cDugme* start = static_cast<cDugme*>(cIntro::Instance()->objects.front());
    cHeadlessGame::PushMotion(MidX(L::START_BUTTON), MidY(L::START_BUTTON));
    game.Frames();
    EXPECT_EQ(start->look.current, &start->look.hoverFrame);
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, MidX(L::START_BUTTON), MidY(L::START_BUTTON));
    game.Frames();
    EXPECT_EQ(start->look.current, &start->look.pressedFrame);
    cHeadlessGame::PushMotion(5, 5); // out: disarmed, so coming back only hovers
    cHeadlessGame::PushMotion(MidX(L::START_BUTTON), MidY(L::START_BUTTON));
    game.Frames();
    EXPECT_EQ(start->look.current, &start->look.hoverFrame);
    // A press elsewhere and a release inside still clicks.
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, 5, 5);
    cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, MidX(L::START_BUTTON), MidY(L::START_BUTTON));
    game.Frames();
    ASSERT_EQ(Top(), cIzbor::Instance());
    Click(L::ACTIVITY_ICON);

    cDugmeIzlaz* exit = cSerijacija::Instance()->exitButton;
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, 5, 470);
    cHeadlessGame::PushMotion(MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON));
    game.Frames();
    EXPECT_EQ(exit->look.current, &exit->look.pressedFrame) << "armed by a press outside";
    cHeadlessGame::PushButton(false, SDL_BUTTON_RIGHT, MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON));
    game.Frames();
    EXPECT_EQ(Top(), cSerijacija::Instance()) << "only the left button clicks";
    cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, 5, 470);
    cHeadlessGame::PushMotion(MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON) + 1);
    game.Frames();
    EXPECT_EQ(exit->look.current, &exit->look.hoverFrame) << "disarmed by a release outside";
    // The click leaves the puzzle inside the button's own handler; the rest of the
    // frame's events still reach the old screen's objects, which live until it ends.
    cHeadlessGame::PushClick(MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON));
    cHeadlessGame::PushClick(MidX(L::EXIT_BUTTON), MidY(L::EXIT_BUTTON));
    game.Frames();
    EXPECT_EQ(Top(), cIzbor::Instance());
    EXPECT_EQ(game.engine.RetiredCount(), 0u);
}

TEST_F(ScreensTest, F11KeepsEachScreensOwnFlagAndAFailedSwitchKeepsAWorkingScreen)
{
    const Uint32 FS = SDL_FULLSCREEN;
    Key(SDLK_F11);
    EXPECT_TRUE(game.engine.fullscreen);
    EXPECT_TRUE(game.Shows(images.sivo, 0, 0, 3, 3)) << "drawn whole on the new surface";
    failFullscreen = true; // the intro's flag lasts: the next F11 asks for a window
    Key(SDLK_F11);
    EXPECT_FALSE(game.engine.fullscreen);
    Click(L::START_BUTTON);
    Key(SDLK_F11); // the selection's flag starts cleared: asks for full screen, refused
    failFullscreen = false;
    Key(SDLK_F11);
    Click(L::ACTIVITY_ICON);
    Key(SDLK_F11); // so does every new puzzle's
    Key(SDLK_SPACE);
    Key(SDLK_F11);
    EXPECT_EQ(modes, (std::vector<Uint32>{FS, 0, FS, 0, FS, FS, FS}));
    EXPECT_TRUE(cSerijacija::Instance()->fullscreen);

    // When no mode works the game ends cleanly after this frame and draws nothing more.
    failFullscreen = failWindow = true;
    Key(SDLK_F11);
    Key(SDLK_F11);
    EXPECT_EQ(game.engine.screen, nullptr);
    EXPECT_FALSE(game.engine.Running());
}

// Drags log i by its middle onto slot k's flower.
void DragLog(const cSerijacijaModel& puzzle, int i, int k)
{
    const SDL_Rect r = puzzle.logs[i].GetRect();
    cHeadlessGame::PushMotion(r.x + r.w / 2, r.y + r.h / 2);
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, r.x + r.w / 2, r.y + r.h / 2);
    cHeadlessGame::PushMotion(L::SlotX(k) + r.w / 2, L::SLOT_Y - 10 + r.h / 2);
    cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, L::SlotX(k), L::SLOT_Y);
}

TEST_F(ScreensTest, APuzzlePlayedWithTheMouseIsJudgedAndStartsAnew)
{
    Click(L::START_BUTTON);
    Click(L::ACTIVITY_ICON);
    cSerijacija* screen = cSerijacija::Instance();
    for (bool right : {true, false}) {
        trace.Take();
        for (int i = 0; i < cLayout::COLUMN_COUNT; ++i) {
            const int target = screen->puzzle.logs[i].GetTarget();
            DragLog(screen->puzzle, i, right ? target : cLayout::COLUMN_COUNT - 1 - target);
            game.Frames();
            // The log stands on its flower, drawn from its own frame of the log sheet.
            const SDL_Rect r = screen->puzzle.logs[i].GetRect();
            const SDL_Rect& f = cLayout::LOG_FRAMES[i];
            EXPECT_TRUE(game.Shows(images.balvaniSprajtmapa, r.x - f.x, r.y - f.y, r.x + 14,
                                   r.y + r.h - 5));
        }
        EXPECT_EQ(screen->puzzle.verdict,
                  right ? cSerijacijaModel::RIGHT : cSerijacijaModel::WRONG);
        auto written = [&] {
            int count = 0;
            for (int x = L::VERDICT.x; x < L::VERDICT.x + 80; ++x)
                for (int y = L::VERDICT.y; y < L::VERDICT.y + 19; y += 3)
                    count += !game.Shows(images.sssBezBalvana, 0, 0, x, y);
            return count;
        };
        const int firstLetters = written();
        const std::string verdict = right ? "Bravo!" : "Greska!";
        // Typed out a letter every other frame, then the hint blinks.
        game.Frames(2 * verdict.size());
        EXPECT_EQ(screen->lettersShown, verdict.size());
        EXPECT_GT(written(), 2 * firstLetters + 10) << verdict << " types itself out";
        EXPECT_FALSE(screen->hintShown);
        SDL_Delay(1100);
        game.Frames();
        EXPECT_TRUE(screen->hintShown);
        // The right button starts anew after the first puzzle, Return after the second.
        if (right)
            cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, 300, 300);
        else
            cHeadlessGame::PushKey(SDLK_RETURN);
        game.Frames();
        EXPECT_EQ(trace.Take(), "cSerijacija Cleanup\n");
        EXPECT_FALSE(screen->puzzle.puzzleDone);
    }
    Key(SDLK_RETURN);
    EXPECT_EQ(trace.Take(), "") << "Return does nothing during a puzzle";
    Key(SDLK_SPACE);
    EXPECT_EQ(trace.Take(), "cSerijacija Cleanup\n");
}

TEST(Font, ASpaceAdvancesThePenAndOnlyTheFirstLettersAskedForAreDrawn)
{
    cHeadlessGame game;
    cTekst text(&game.engine);
    SDL_Surface* s = game.engine.screen;
    auto leftmostInk = [&](const std::string& line, size_t count) {
        SDL_FillRect(s, nullptr, 0);
        text.DrawText(line, 0, 0, s, count);
        int inked = 0, leftmost = -1;
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < cTekst::GLYPH_HEIGHT; ++y)
                if (cHeadlessGame::Pixel(s, x, y) != 0) {
                    leftmost = leftmost < 0 ? x : leftmost;
                    ++inked;
                }
        return std::pair(leftmost, inked);
    };
    EXPECT_EQ(leftmostInk(" b", 2).first, leftmostInk("b", 1).first + cTekst::SPACE_ADVANCE);
    EXPECT_EQ(leftmostInk("ab", 1), leftmostInk("a", 1));
    EXPECT_EQ(leftmostInk("ab", 0).second, 0);
}

} // namespace
