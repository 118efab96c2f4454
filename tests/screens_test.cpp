// The intro, the pause dialog and the selection through the real engine: traces, keys, memory.
#include "cHeadlessGame.h"
#include "screens/cGlavniMeni.h"
#include "screens/cIntro.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"
#include "widgets/cDugme.h"
#include "widgets/cIkonica.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Stand-in colours (see cTestAssets::Images).
const uint32_t SIVO = 0x808080;
const uint32_t START = 0x20A020;
const uint32_t PEJZAZ = 0x60C0F0;
const uint32_t IKONICA = 0xF0C000;
const uint32_t MENI_DA = 0x3040C0;
const uint32_t MENI_NE = 0x30C0C0;
const uint32_t NAZIV = 0xF0F0F0;
const uint32_t PROGRAMER = 0x202020;
const uint32_t INK = 0xFFFFFF;

// Points on the screens' widgets.
const int START_X = 300, START_Y = 370;
const int ICON_X = 270, ICON_Y = 60;

// Every mode the game asks for, and a mode setter that can be told to fail.
std::vector<Uint32> requestedModes;
bool failFullscreen = false;
bool failWindow = false;

SDL_Surface* RecordingSetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    requestedModes.push_back(flags);
    if ((flags & SDL_FULLSCREEN) ? failFullscreen : failWindow)
        return nullptr;
    return SDL_SetVideoMode(w, h, bpp, flags);
}

// Standard output is captured for the traces, so failures are repeated on standard error.
class cFailuresToStderr : public ::testing::EmptyTestEventListener
{
    void OnTestPartResult(const ::testing::TestPartResult& result) override
    {
        if (result.failed())
            fprintf(stderr, "%s:%d: %s\n", result.file_name() ? result.file_name() : "?",
                    result.line_number(), result.message());
    }
};

const bool failuresShown = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new cFailuresToStderr);
    return true;
}();

Lines Split(const std::string& text)
{
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class ScreensTest : public ::testing::Test
{
protected:
    ScreensTest()
    {
        requestedModes.clear();
        failFullscreen = failWindow = false;
        game.engine.setVideoMode = RecordingSetVideoMode;
        game.StartOnIntro();
    }

    ~ScreensTest() override { game.Stop(); }

    Lines Trace() { return Split(trace.Take()); }

    cGameState* Top() const
    {
        return game.engine.states.empty() ? nullptr : game.engine.states.back();
    }

    // One frame with these events queued, as the main loop would see them.
    void Key(SDLKey key)
    {
        cHeadlessGame::PushKey(key);
        game.Frame();
    }

    void ToSelection()
    {
        game.Frame();
        cHeadlessGame::PushClick(START_X, START_Y);
        game.Frame();
        ASSERT_EQ(Top(), cIzbor::Instance());
        Trace();
    }

    static cGlavniMeni* Menu() { return cGlavniMeni::Instance(); }
    static cIzbor* Selection() { return cIzbor::Instance(); }
    static cIntro* Intro() { return cIntro::Instance(); }

    cTrace trace;
    cHeadlessGame game{32};
};

// --- The intro -----------------------------------------------------------------

TEST_F(ScreensTest, StartingAndClosingOnTheIntro)
{
    EXPECT_EQ(Trace(), (Lines{"cGameEngine Init", "cDugme Init"}));
    game.Frame();
    cHeadlessGame::PushQuit();
    game.Frame();
    EXPECT_FALSE(game.engine.running);
    game.Stop();
    EXPECT_EQ(Trace(), (Lines{"cIntro Cleanup", "cGameEngine Cleanup"}));
}

TEST_F(ScreensTest, TheIntroDrawsBackdropCreditTitleAndButton)
{
    game.Frame();
    EXPECT_EQ(game.Pixel(0, 0), SIVO);
    EXPECT_EQ(game.Pixel(639, 479), SIVO);
    EXPECT_EQ(game.Pixel(19, 296), PROGRAMER);
    EXPECT_EQ(game.Pixel(18, 296), SIVO);
    EXPECT_EQ(game.Pixel(36, 196), NAZIV);
    EXPECT_EQ(game.Pixel(35, 196), SIVO);
    EXPECT_EQ(game.Pixel(207, 318), START);
    EXPECT_EQ(game.Pixel(421, 419), START);
    EXPECT_EQ(game.Pixel(422, 419), SIVO);
    ASSERT_EQ(Intro()->objects.size(), 1u);
}

TEST_F(ScreensTest, OnTheIntroOnlyEscAndF11DoAnything)
{
    game.Frame();
    Trace();
    for (SDLKey key : {SDLK_RETURN, SDLK_SPACE, SDLK_UP, SDLK_DOWN, SDLK_a, SDLK_F1})
        cHeadlessGame::PushKey(key);
    cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, START_X, START_Y);
    cHeadlessGame::PushButton(false, SDL_BUTTON_RIGHT, START_X, START_Y);
    cHeadlessGame::PushClick(5, 5);
    game.Frame();
    EXPECT_EQ(Trace(), Lines{});
    EXPECT_EQ(Top(), Intro());
    EXPECT_EQ(game.engine.states.size(), 1u);
    EXPECT_TRUE(requestedModes.empty());

    // Motion over the start button changes the button's frame and nothing else.
    cDugme* button = static_cast<cDugme*>(Intro()->objects.front());
    cHeadlessGame::PushMotion(START_X, START_Y);
    game.Frame();
    EXPECT_EQ(button->look.current, &button->look.hoverFrame);
    EXPECT_EQ(Top(), Intro());
    EXPECT_EQ(Trace(), Lines{});
}

TEST_F(ScreensTest, EscThenNoReturnsToTheIntro)
{
    game.Frame();
    Trace();
    cObjekat* button = Intro()->objects.front();
    Key(SDLK_ESCAPE);
    EXPECT_EQ(Trace(), (Lines{"cIntro Pause", "cGlavniMeni Init"}));
    EXPECT_EQ(Top(), Menu());
    Key(SDLK_RETURN);
    EXPECT_EQ(Trace(), (Lines{"cGlavniMeni cleanup", "cIntro Resume"}));
    EXPECT_EQ(Top(), Intro());
    // The intro goes on with what it had: the same button, drawn whole again.
    ASSERT_EQ(Intro()->objects.size(), 1u);
    EXPECT_EQ(Intro()->objects.front(), button);
    EXPECT_EQ(game.Pixel(192 + 10, 176 + 10), SIVO);
    EXPECT_TRUE(game.engine.running);
}

TEST_F(ScreensTest, EscThenYesEndsTheGame)
{
    game.Frame();
    cHeadlessGame::PushKey(SDLK_ESCAPE);
    game.Frame();
    cHeadlessGame::PushKey(SDLK_DOWN);
    cHeadlessGame::PushKey(SDLK_RETURN);
    game.Frame();
    EXPECT_FALSE(game.engine.running);
    game.Stop();
    EXPECT_EQ(Trace(), (Lines{"cGameEngine Init", "cDugme Init", "cIntro Pause",
                              "cGlavniMeni Init", "cGlavniMeni cleanup", "cIntro Cleanup",
                              "cGameEngine Cleanup"}));
}

TEST_F(ScreensTest, F11OnTheIntroSwitchesToFullScreenAndBack)
{
    game.Frame();
    Key(SDLK_F11);
    EXPECT_TRUE(game.engine.fullscreen);
    ASSERT_EQ(requestedModes, (std::vector<Uint32>{SDL_FULLSCREEN}));
    ASSERT_NE(game.engine.screen, nullptr);
    EXPECT_EQ(game.engine.screen->w, 640);
    EXPECT_EQ(game.engine.screen->h, 480);
    EXPECT_EQ(game.engine.screen->format->BitsPerPixel, 32);
    // Drawn whole on the new surface in the same frame.
    EXPECT_EQ(game.Pixel(0, 0), SIVO);
    EXPECT_EQ(game.Pixel(207, 318), START);

    Key(SDLK_F11);
    EXPECT_FALSE(game.engine.fullscreen);
    EXPECT_EQ(requestedModes, (std::vector<Uint32>{SDL_FULLSCREEN, 0}));
    EXPECT_EQ(game.engine.screen->w, 640);
    EXPECT_EQ(game.engine.screen->format->BitsPerPixel, 32);
    EXPECT_EQ(game.Pixel(36, 196), NAZIV);
}

TEST_F(ScreensTest, AFailedSwitchKeepsAWorkingWindow)
{
    game.Frame();
    failFullscreen = true;
    Key(SDLK_F11);
    EXPECT_FALSE(game.engine.fullscreen);
    EXPECT_TRUE(game.engine.running);
    ASSERT_NE(game.engine.screen, nullptr);
    EXPECT_EQ(game.engine.screen->w, 640);
    EXPECT_EQ(game.engine.screen->h, 480);
    EXPECT_EQ(game.Pixel(0, 0), SIVO);
    // The next F11 tries full screen again, and works once the display allows it.
    failFullscreen = false;
    requestedModes.clear();
    Key(SDLK_F11);
    EXPECT_EQ(requestedModes, (std::vector<Uint32>{SDL_FULLSCREEN}));
    EXPECT_TRUE(game.engine.fullscreen);

    // Back from full screen fails: full screen is kept.
    failWindow = true;
    Key(SDLK_F11);
    EXPECT_TRUE(game.engine.fullscreen);
    ASSERT_NE(game.engine.screen, nullptr);
    EXPECT_EQ(game.Pixel(0, 0), SIVO);
}

TEST_F(ScreensTest, WhenNoModeWorksTheGameEndsCleanly)
{
    game.Frame();
    failFullscreen = failWindow = true;
    cHeadlessGame::PushKey(SDLK_F11);
    cHeadlessGame::PushMotion(START_X, START_Y); // events after it are still handled
    game.Frame();
    EXPECT_FALSE(game.engine.running);
    EXPECT_EQ(game.engine.screen, nullptr);
    game.Frame(); // a frame without a screen draws nothing and does not crash
    game.Stop();
    EXPECT_EQ(Trace(), (Lines{"cGameEngine Init", "cDugme Init", "cIntro Cleanup",
                              "cGameEngine Cleanup"}));
}

// --- The main menu -------------------------------------------------------------

TEST_F(ScreensTest, TheMenuOpensOnNoAndUpAndDownFlipTheAnswer)
{
    game.Frame();
    Key(SDLK_ESCAPE);
    EXPECT_EQ(Menu()->selection, cGlavniMeni::NE);
    EXPECT_EQ(Menu()->current, game.engine.images.meniNe);
    // Drawn at (192, 176) over the intro's last frame, nothing else.
    EXPECT_EQ(game.Pixel(192, 176), MENI_NE);
    EXPECT_EQ(game.Pixel(192 + 255, 176 + 127), MENI_NE);
    EXPECT_EQ(game.Pixel(191, 176), SIVO);
    EXPECT_EQ(game.Pixel(192 + 256, 176 + 127), SIVO);
    EXPECT_EQ(game.Pixel(207, 318), START) << "the covered screen's frame stays around it";

    struct
    {
        SDLKey key;
        int selection;
        uint32_t colour;
    } const steps[] = {
        {SDLK_DOWN, cGlavniMeni::DA, MENI_DA}, {SDLK_DOWN, cGlavniMeni::NE, MENI_NE},
        {SDLK_UP, cGlavniMeni::DA, MENI_DA},   {SDLK_UP, cGlavniMeni::NE, MENI_NE},
        {SDLK_UP, cGlavniMeni::DA, MENI_DA},   {SDLK_DOWN, cGlavniMeni::NE, MENI_NE},
    };
    for (const auto& step : steps) {
        Key(step.key);
        EXPECT_EQ(Menu()->selection, step.selection);
        EXPECT_EQ(game.Pixel(200, 200), step.colour);
    }
    // Update alone picks the picture from the answer; an unknown answer keeps it.
    Menu()->selection = cGlavniMeni::DA;
    Menu()->Update(&game.engine);
    EXPECT_EQ(Menu()->current, game.engine.images.meniDa);
    Menu()->selection = 7;
    Menu()->Update(&game.engine);
    EXPECT_EQ(Menu()->current, game.engine.images.meniDa);
    Menu()->selection = cGlavniMeni::NE;
    Menu()->Update(&game.engine);
    EXPECT_EQ(Menu()->current, game.engine.images.meniNe);

    // Left on yes, the menu opens on no the next time all the same.
    Key(SDLK_DOWN);
    game.engine.PopState();
    Key(SDLK_ESCAPE);
    EXPECT_EQ(Menu()->selection, cGlavniMeni::NE);
    EXPECT_EQ(game.Pixel(200, 200), MENI_NE);
}

TEST_F(ScreensTest, TheMenuIgnoresEscF11AndTheMouse)
{
    game.Frame();
    Key(SDLK_ESCAPE);
    Trace();
    SDL_Surface* screen = game.engine.screen;
    cDugme* button = static_cast<cDugme*>(Intro()->objects.front());
    for (SDLKey key : {SDLK_ESCAPE, SDLK_F11, SDLK_SPACE, SDLK_a})
        cHeadlessGame::PushKey(key);
    cHeadlessGame::PushMotion(START_X, START_Y);
    cHeadlessGame::PushClick(START_X, START_Y);
    cHeadlessGame::PushClick(200, 200);
    game.Frame();
    EXPECT_EQ(Trace(), Lines{});
    EXPECT_EQ(game.engine.states.size(), 2u);
    EXPECT_EQ(Top(), Menu());
    EXPECT_EQ(Menu()->selection, cGlavniMeni::NE);
    EXPECT_TRUE(requestedModes.empty());
    EXPECT_FALSE(game.engine.fullscreen);
    EXPECT_EQ(game.engine.screen, screen);
    EXPECT_EQ(button->look.current, &button->look.normalFrame) << "the covered button saw nothing";
}

// Once the dialog is open it takes the rest of the frame's input: a second Esc, or a
// click that would change the covered screen, never reaches the screen below.
TEST_F(ScreensTest, TwoEscPressesInOneFrameOpenTheDialogOnce)
{
    game.Frame();
    Trace();
    cHeadlessGame::PushKey(SDLK_ESCAPE);
    cHeadlessGame::PushKey(SDLK_ESCAPE);
    game.Frame();
    game.Frame();
    EXPECT_EQ(Trace(), (Lines{"cIntro Pause", "cGlavniMeni Init"}));
    EXPECT_EQ(game.engine.states.size(), 2u);

    Key(SDLK_RETURN);
    EXPECT_EQ(Trace(), (Lines{"cGlavniMeni cleanup", "cIntro Resume"}));
    EXPECT_EQ(Top(), Intro());
    EXPECT_EQ(game.engine.states.size(), 1u);
}

TEST_F(ScreensTest, AClickQueuedAfterEscDoesNotChangeTheCoveredScreen)
{
    ToSelection();
    Trace();
    cHeadlessGame::PushKey(SDLK_ESCAPE);
    cHeadlessGame::PushMotion(273, 64);
    cHeadlessGame::PushClick(273, 64); // on the activity icon
    game.Frame();
    game.Frame();
    EXPECT_EQ(Trace(), (Lines{"cIzbor Pause", "cGlavniMeni Init"}));
    ASSERT_EQ(game.engine.states.size(), 2u);
    EXPECT_EQ(game.engine.states[0], cIzbor::Instance());
    EXPECT_EQ(Top(), Menu());
    EXPECT_TRUE(game.engine.logs.empty());
}

TEST_F(ScreensTest, ASecondEnterInTheSameFrameStaysWithTheCoveredScreen)
{
    ToSelection();
    Key(SDLK_ESCAPE);
    Trace();
    cHeadlessGame::PushKey(SDLK_RETURN);
    cHeadlessGame::PushKey(SDLK_RETURN);
    cHeadlessGame::PushKey(SDLK_ESCAPE); // left for the selection, too
    game.Frame();
    EXPECT_EQ(Trace(), (Lines{"cGlavniMeni cleanup", "cIzbor Resume"}));
    EXPECT_EQ(Top(), Selection());
    EXPECT_EQ(game.engine.states.size(), 1u);

    // The events left over reach the selection screen in the next frame.
    game.Frame();
    EXPECT_EQ(Trace(), (Lines{"cIzbor Pause", "cGlavniMeni Init"}));
    EXPECT_EQ(Top(), Menu());
}

TEST_F(ScreensTest, TheMenuNeverEmptiesTheStack)
{
    // The menu alone: its no answer has nothing to return to.
    game.engine.ChangeState(Menu());
    game.Frame();
    Trace();
    Key(SDLK_RETURN);
    Key(SDLK_RETURN);
    ASSERT_FALSE(game.engine.states.empty());
    EXPECT_EQ(Top(), Menu());
    EXPECT_TRUE(game.engine.running);
    // Yes still ends the game from there.
    cHeadlessGame::PushKey(SDLK_DOWN);
    cHeadlessGame::PushKey(SDLK_RETURN);
    game.Frame();
    EXPECT_FALSE(game.engine.running);
}

TEST_F(ScreensTest, EscAndEnterInOneFrameLeaveTheMenuOpen)
{
    game.Frame();
    Trace();
    // The Enter reaches the intro, which drains the frame; the menu starts next frame.
    cHeadlessGame::PushKey(SDLK_ESCAPE);
    cHeadlessGame::PushKey(SDLK_RETURN);
    game.Frame();
    EXPECT_EQ(Top(), Menu());
    EXPECT_EQ(Trace(), (Lines{"cIntro Pause", "cGlavniMeni Init"}));
}

// --- State changes in the middle of a frame's events ---------------------------

TEST_F(ScreensTest, TheStartButtonLeavesTheIntroAndTheFrameGoesOn)
{
    game.Frame();
    Trace();
    cHeadlessGame::PushMotion(START_X, START_Y);
    cHeadlessGame::PushClick(START_X, START_Y);
    cHeadlessGame::PushMotion(5, 5);             // still reaches the intro's button
    cHeadlessGame::PushKey(SDLK_ESCAPE);         // still handled by the intro
    game.Frame();
    EXPECT_EQ(Trace(), (Lines{"cIntro Cleanup", "cIzbor Pause", "cGlavniMeni Init"}));
    ASSERT_EQ(game.engine.states.size(), 2u);
    EXPECT_EQ(game.engine.states[0], Selection());
    EXPECT_EQ(Top(), Menu());
    EXPECT_TRUE(Intro()->objects.empty());
    EXPECT_EQ(game.engine.RetiredCount(), 0u);

    Key(SDLK_RETURN);
    EXPECT_EQ(Trace(), (Lines{"cGlavniMeni cleanup", "cIzbor Resume"}));
    EXPECT_EQ(game.Pixel(5, 5), PEJZAZ);
}

TEST_F(ScreensTest, TwoClicksOnTheStartButtonInOneFrame)
{
    game.Frame();
    Trace();
    cHeadlessGame::PushClick(START_X, START_Y);
    cHeadlessGame::PushClick(START_X, START_Y);
    cHeadlessGame::PushMotion(ICON_X, ICON_Y);
    game.Frame();
    // The second click reaches the intro's button too and enters the selection again.
    EXPECT_EQ(Trace(), (Lines{"cIntro Cleanup", "cIzbor Cleanup"}));
    EXPECT_EQ(Top(), Selection());
    EXPECT_EQ(game.engine.states.size(), 1u);
    EXPECT_EQ(game.engine.RetiredCount(), 0u);
    ASSERT_NE(Selection()->icon, nullptr);
    ASSERT_NE(Selection()->nameText, nullptr);

    // The selection that stays is whole and works.
    cHeadlessGame::PushMotion(ICON_X, ICON_Y);
    game.Frame();
    EXPECT_TRUE(game.engine.iconHovered);
    EXPECT_EQ(game.Pixel(208, 243), INK);
}

TEST_F(ScreensTest, TheIconClickFollowedByEsc)
{
    ToSelection();
    cHeadlessGame::PushMotion(ICON_X, ICON_Y);
    cHeadlessGame::PushClick(ICON_X, ICON_Y);
    cHeadlessGame::PushMotion(ICON_X + 1, ICON_Y); // the icon still gets it
    cHeadlessGame::PushKey(SDLK_ESCAPE);           // the selection still handles it
    game.Frame();
    EXPECT_EQ(Trace(), (Lines{"cIzbor Cleanup", "cSerijacija Pause", "cGlavniMeni Init"}));
    ASSERT_EQ(game.engine.states.size(), 2u);
    EXPECT_EQ(game.engine.states[0], cSerijacija::Instance());
    EXPECT_EQ(Top(), Menu());
    EXPECT_EQ(game.engine.RetiredCount(), 0u);
    EXPECT_EQ(Selection()->icon, nullptr) << "released once the frame's events were handled";
    EXPECT_EQ(Selection()->nameText, nullptr);

    Key(SDLK_RETURN);
    EXPECT_EQ(Trace(), (Lines{"cGlavniMeni cleanup", "cSerijacija Resume"}));
    EXPECT_EQ(Top(), cSerijacija::Instance());
    Mix_HaltMusic();
}

// --- The activity selection ----------------------------------------------------

TEST_F(ScreensTest, TheSelectionShowsTheNameWhileTheIconIsHovered)
{
    // The pointer already rests over the icon's place when the screen opens.
    game.Frame();
    Trace();
    cHeadlessGame::PushMotion(ICON_X, ICON_Y);
    cHeadlessGame::PushClick(START_X, START_Y);
    game.Frame();
    ASSERT_EQ(Top(), Selection());
    EXPECT_EQ(Trace(), Lines{"cIntro Cleanup"});
    EXPECT_FALSE(game.engine.iconHovered);
    EXPECT_EQ(game.Pixel(5, 5), PEJZAZ);
    EXPECT_EQ(game.Pixel(251, 47), IKONICA);
    EXPECT_EQ(game.Pixel(297, 83), IKONICA);
    EXPECT_EQ(game.Pixel(298, 83), PEJZAZ);
    EXPECT_EQ(game.Pixel(208, 250), PEJZAZ) << "no name before the first motion";

    struct
    {
        int x, y;
        bool hovered;
    } const moves[] = {
        {252, 48, true},  {251, 60, false}, {295, 81, true},  {296, 60, false},
        {270, 47, false}, {270, 82, false}, {ICON_X, ICON_Y, true}, {5, 5, false},
    };
    for (const auto& m : moves) {
        cHeadlessGame::PushMotion(m.x, m.y);
        game.Frame();
        EXPECT_EQ(game.engine.iconHovered, m.hovered) << m.x << "," << m.y;
        // "Stapici" at (208, 243), 67 pixels wide.
        EXPECT_EQ(game.Pixel(208, 250), m.hovered ? INK : PEJZAZ) << m.x << "," << m.y;
        EXPECT_EQ(game.Pixel(208 + 66, 250), m.hovered ? INK : PEJZAZ);
        EXPECT_EQ(game.Pixel(208 + 67, 250), PEJZAZ);
        EXPECT_EQ(game.Pixel(207, 250), PEJZAZ);
    }
    EXPECT_EQ(Trace(), Lines{});
}

TEST_F(ScreensTest, OnTheSelectionOtherKeysAndClicksDoNothing)
{
    ToSelection();
    for (SDLKey key : {SDLK_SPACE, SDLK_RETURN, SDLK_UP, SDLK_DOWN})
        cHeadlessGame::PushKey(key);
    cHeadlessGame::PushClick(5, 5);
    cHeadlessGame::PushClick(251, 47); // the icon's own corner, outside its hit area
    cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, ICON_X, ICON_Y);
    cHeadlessGame::PushButton(false, SDL_BUTTON_RIGHT, ICON_X, ICON_Y);
    game.Frame();
    EXPECT_EQ(Trace(), Lines{});
    EXPECT_EQ(Top(), Selection());
    EXPECT_TRUE(requestedModes.empty());
}

TEST_F(ScreensTest, EscOnTheSelectionAndBack)
{
    ToSelection();
    cHeadlessGame::PushMotion(ICON_X, ICON_Y);
    game.Frame();
    cIkonica* icon = Selection()->icon;
    Key(SDLK_ESCAPE);
    EXPECT_EQ(Trace(), (Lines{"cIzbor Pause", "cGlavniMeni Init"}));
    EXPECT_EQ(game.Pixel(200, 200), MENI_NE);
    EXPECT_EQ(game.Pixel(5, 5), PEJZAZ);
    Key(SDLK_DOWN);
    Key(SDLK_DOWN);
    Key(SDLK_RETURN); // down twice: back on no
    EXPECT_EQ(Trace(), (Lines{"cGlavniMeni cleanup", "cIzbor Resume"}));
    // Nothing was reset while covered.
    EXPECT_EQ(Selection()->icon, icon);
    EXPECT_TRUE(game.engine.iconHovered);
    EXPECT_EQ(game.Pixel(208, 250), INK);
}

TEST_F(ScreensTest, TheSelectionKeepsItsOwnFullScreenFlag)
{
    game.Frame();
    Key(SDLK_F11); // the intro goes full screen
    ASSERT_TRUE(game.engine.fullscreen);
    ToSelection();
    requestedModes.clear();

    // Already full screen, the first F11 here asks for full screen all the same.
    Key(SDLK_F11);
    Key(SDLK_F11);
    Key(SDLK_F11);
    EXPECT_EQ(requestedModes, (std::vector<Uint32>{SDL_FULLSCREEN, 0, SDL_FULLSCREEN}));
    EXPECT_EQ(game.Pixel(5, 5), PEJZAZ);

    // The menu leaves the flag alone; a new entry clears it.
    Key(SDLK_ESCAPE);
    Key(SDLK_RETURN);
    Key(SDLK_F11);
    EXPECT_EQ(requestedModes.back(), 0u);
    Key(SDLK_F11);
    game.engine.ChangeState(Selection());
    Key(SDLK_F11);
    EXPECT_EQ(requestedModes.back(), static_cast<Uint32>(SDL_FULLSCREEN));
    EXPECT_TRUE(Selection()->fullscreen);
}

TEST_F(ScreensTest, AFailedSwitchOnTheSelectionKeepsItGoing)
{
    ToSelection();
    failFullscreen = true;
    Key(SDLK_F11);
    EXPECT_FALSE(Selection()->fullscreen);
    ASSERT_NE(game.engine.screen, nullptr);
    EXPECT_EQ(game.Pixel(5, 5), PEJZAZ);
    EXPECT_TRUE(game.engine.running);

    failWindow = true;
    Key(SDLK_F11);
    EXPECT_FALSE(game.engine.running);
    EXPECT_EQ(game.engine.screen, nullptr);
    game.Frame();
}

// --- Memory over many visits ---------------------------------------------------

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

TEST_F(ScreensTest, EnteringTheScreensAgainAndAgainKeepsMemoryFlat)
{
    ToSelection();
    auto visit = [&] {
        // A new entry of the selection, its name shown, the menu opened and closed.
        game.engine.ChangeState(Selection());
        cHeadlessGame::PushMotion(ICON_X, ICON_Y);
        cHeadlessGame::PushKey(SDLK_ESCAPE);
        game.Frame();
        EXPECT_EQ(game.engine.RetiredCount(), 0u);
        cHeadlessGame::PushKey(SDLK_RETURN);
        game.Frame();
        EXPECT_EQ(game.engine.RetiredCount(), 0u);
    };
    for (int i = 0; i < 20; ++i)
        visit();
    const size_t before = HeapInUse();
    for (int i = 0; i < 1000 && !HasFailure(); ++i)
        visit();
    const size_t after = HeapInUse();
    EXPECT_LT(after, before + 64 * 1024) << "before " << before << ", after " << after;
    game.Frame();
    Trace();
}

TEST_F(ScreensTest, ThePuzzleAndBackKeepsMemoryFlat)
{
    ToSelection();
    auto round = [&] {
        cHeadlessGame::PushMotion(ICON_X, ICON_Y);
        cHeadlessGame::PushClick(ICON_X, ICON_Y);
        game.Frame();
        EXPECT_EQ(Top(), cSerijacija::Instance());
        EXPECT_EQ(game.engine.RetiredCount(), 0u);
        // The exit button, then the music stopped so the next fade-in need not wait.
        cHeadlessGame::PushMotion(570, 50);
        cHeadlessGame::PushClick(570, 50);
        game.Frame();
        Mix_HaltMusic();
        EXPECT_EQ(Top(), Selection());
        EXPECT_EQ(game.engine.RetiredCount(), 0u);
    };
    for (int i = 0; i < 10; ++i)
        round();
    const size_t before = HeapInUse();
    for (int i = 0; i < 200 && !HasFailure(); ++i)
        round();
    const size_t after = HeapInUse();
    EXPECT_LT(after, before + 64 * 1024) << "before " << before << ", after " << after;
}

} // namespace
