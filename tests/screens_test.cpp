// The intro, the pause dialog and the selection through the real engine: traces, keys, memory.
#include "cHeadlessGame.h"
#include "screens/cGlavniMeni.h"
#include "screens/cIntro.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"
#include "widgets/cDugme.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <functional>

#include <string>
#include <vector>

namespace {

using Modes = std::vector<Uint32>;

// Stand-in colours (see cTestAssets::Images) and points on the screens' widgets.
const uint32_t SIVO = 0x808080, START = 0x20A020, PEJZAZ = 0x60C0F0, IKONICA = 0xF0C000;
const uint32_t MENI_DA = 0x3040C0, MENI_NE = 0x30C0C0, NAZIV = 0xF0F0F0, PROGRAMER = 0x202020,
               INK = 0xFFFFFF;
const int START_X = 300, START_Y = 370, ICON_X = 270, ICON_Y = 60;
const Uint32 FS = SDL_FULLSCREEN;

// Every mode the game asks for, from a mode setter that can be told to fail.
Modes modes;
bool failFullscreen = false, failWindow = false;

SDL_Surface* RecordingSetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    modes.push_back(flags);
    return ((flags & FS) ? failFullscreen : failWindow) ? nullptr
                                                        : SDL_SetVideoMode(w, h, bpp, flags);
}

// Standard output is captured for the traces, so failures are repeated on standard error.
struct cFailuresToStderr : ::testing::EmptyTestEventListener
{
    void OnTestPartResult(const ::testing::TestPartResult& r) override
    {
        if (r.failed())
            fprintf(stderr, "%s:%d: %s\n", r.file_name() ? r.file_name() : "?", r.line_number(),
                    r.message());
    }
};
const bool failuresShown =
    (::testing::UnitTest::GetInstance()->listeners().Append(new cFailuresToStderr), true);

cGlavniMeni* Menu()
{
    return cGlavniMeni::Instance();
}
cIzbor* Selection()
{
    return cIzbor::Instance();
}
cIntro* Intro()
{
    return cIntro::Instance();
}

// Input for one frame, queued in order: keys, left clicks and pointer motion.
using In = std::function<void()>;
In Key(SDLKey key)
{
    return [=] { cHeadlessGame::PushKey(key); };
}
In Click(int x, int y)
{
    return [=] { cHeadlessGame::PushClick(x, y); };
}
In Move(int x, int y)
{
    return [=] { cHeadlessGame::PushMotion(x, y); };
}

class ScreensTest : public ::testing::Test
{
protected:
    ScreensTest()
    {
        modes.clear();
        failFullscreen = failWindow = false;
        game.engine.setVideoMode = RecordingSetVideoMode;
        game.StartOnIntro();
        game.Frame();
    }
    ~ScreensTest() override { game.Stop(); }

    std::string Trace() { return trace.Take(); }
    void Frame(std::initializer_list<In> input = {})
    {
        for (const In& push : input)
            push();
        game.Frame();
    }
    void Frames(std::initializer_list<SDLKey> keys) // a key a frame
    {
        for (SDLKey key : keys)
            Frame({Key(key)});
    }
    void ToSelection()
    {
        Frame({Click(START_X, START_Y)});
        ASSERT_EQ(game.engine.states.back(), Selection());
        Trace();
    }

    cTrace trace;
    cHeadlessGame game{32};
};

TEST_F(ScreensTest, StartingDrawingAndClosingTheIntro)
{
    EXPECT_EQ(Trace(), "cGameEngine Init\ncDugme Init\n");
    // Backdrop, credit at (19, 296), title at (36, 196), the start button at (207, 318).
    for (auto [x, y, rgb] : {std::tuple{0, 0, SIVO},
                             {639, 479, SIVO},
                             {19, 296, PROGRAMER},
                             {18, 296, SIVO},
                             {36, 196, NAZIV},
                             {35, 196, SIVO},
                             {207, 318, START},
                             {421, 419, START},
                             {422, 419, SIVO}})
        EXPECT_EQ(game.Pixel(x, y), rgb) << x << "," << y;
    // Only Esc, F11 and the start button do anything here.
    Frame({Key(SDLK_RETURN), Key(SDLK_SPACE), Key(SDLK_UP), Key(SDLK_a), Click(5, 5),
           [] { cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, START_X, START_Y); },
           [] { cHeadlessGame::PushQuit(); }});
    EXPECT_EQ(std::tuple(game.engine.running, game.engine.states.size(), modes.size()),
              std::tuple(false, 1u, 0u));
    game.Stop();
    EXPECT_EQ(Trace(), "cIntro Cleanup\ncGameEngine Cleanup\n");
}

// After Esc a screen leaves the rest of the frame's input to the dialog.
TEST_F(ScreensTest, TheMenuOpensOnceFlipsItsAnswerAndIgnoresEverythingElse)
{
    cDugme* button = static_cast<cDugme*>(Intro()->objects.front());
    Trace();
    Frame({Key(SDLK_ESCAPE), Key(SDLK_ESCAPE)});
    EXPECT_EQ(Trace(), "cIntro Pause\ncGlavniMeni Init\n");
    // Drawn at (192, 176), 256 x 128, over the intro's last frame.
    for (auto [x, y, rgb] : {std::tuple{192, 176, MENI_NE},
                             {447, 303, MENI_NE},
                             {191, 176, SIVO},
                             {448, 303, SIVO},
                             {207, 318, START}})
        EXPECT_EQ(game.Pixel(x, y), rgb) << x << "," << y;
    Frame({Move(START_X, START_Y), Click(START_X, START_Y), Key(SDLK_ESCAPE), Key(SDLK_F11),
           Key(SDLK_SPACE)});
    EXPECT_EQ(std::tuple(Trace(), game.engine.states.size(), modes.size()), std::tuple("", 2u, 0u));
    EXPECT_EQ(button->look.current, &button->look.normalFrame) << "the covered button saw nothing";

    for (auto [key, answer, rgb] : {std::tuple{SDLK_DOWN, cGlavniMeni::DA, MENI_DA},
                                    {SDLK_DOWN, cGlavniMeni::NE, MENI_NE},
                                    {SDLK_UP, cGlavniMeni::DA, MENI_DA},
                                    {SDLK_UP, cGlavniMeni::NE, MENI_NE}}) {
        Frame({Key(key)});
        EXPECT_EQ(std::pair(Menu()->selection, game.Pixel(200, 200)), std::pair(int(answer), rgb));
    }
    Frame({Key(SDLK_RETURN)});
    EXPECT_EQ(Trace(), "cGlavniMeni cleanup\ncIntro Resume\n");
    EXPECT_EQ(Intro()->objects.front(), button);
    EXPECT_EQ(game.Pixel(202, 186), SIVO);

    Frames({SDLK_ESCAPE, SDLK_DOWN});
    game.engine.PopState();
    Frame({Key(SDLK_ESCAPE)});
    EXPECT_EQ(Menu()->selection, cGlavniMeni::NE) << "left on yes, it opens on no all the same";

    // Alone on the stack, no has nothing to return to; yes still ends the game.
    Frame({Key(SDLK_RETURN)});
    game.engine.ChangeState(Menu());
    Frames({SDLK_RETURN, SDLK_RETURN});
    EXPECT_TRUE(game.engine.running);
    Frame({Key(SDLK_DOWN), Key(SDLK_RETURN)});
    EXPECT_FALSE(game.engine.running);
}

TEST_F(ScreensTest, AClickAfterEscAndASecondEnterStayWithTheCoveredSelection)
{
    ToSelection();
    Frame({Key(SDLK_ESCAPE), Click(ICON_X, ICON_Y)});
    Frame();
    EXPECT_EQ(Trace(), "cIzbor Pause\ncGlavniMeni Init\n");
    EXPECT_TRUE(game.engine.logs.empty());
    Frame({Key(SDLK_RETURN), Key(SDLK_RETURN), Key(SDLK_ESCAPE)});
    EXPECT_EQ(Trace(), "cGlavniMeni cleanup\ncIzbor Resume\n");
    Frame(); // the rest reaches the selection now
    EXPECT_EQ(Trace(), "cIzbor Pause\ncGlavniMeni Init\n");
}

// A widget's click changes the screen while more events wait: the frame goes on with them.
TEST_F(ScreensTest, StateChangesInsideAWidgetHandler)
{
    Trace();
    // The second click reaches the intro's button and enters the selection again; the intro handles
    // the Esc.
    Frame({Click(START_X, START_Y), Click(START_X, START_Y), Move(5, 5), Key(SDLK_ESCAPE)});
    EXPECT_EQ(Trace(), "cIntro Cleanup\ncIzbor Cleanup\ncIzbor Pause\ncGlavniMeni Init\n");
    EXPECT_TRUE(Intro()->objects.empty() && game.engine.RetiredCount() == 0)
        << "the intro's button went after the frame";
    Frame({Key(SDLK_RETURN)});
    Frame({Move(ICON_X, ICON_Y)});
    EXPECT_EQ(game.Pixel(208, 250), INK) << "the selection entered twice works";
    Trace();

    // The icon still gets the motion after its click, the selection the Esc.
    Frame({Click(ICON_X, ICON_Y), Move(ICON_X + 1, ICON_Y), Key(SDLK_ESCAPE)});
    EXPECT_EQ(Trace(), "cIzbor Cleanup\ncSerijacija Pause\ncGlavniMeni Init\n");
    EXPECT_EQ(Selection()->icon, nullptr) << "released once the frame's events were handled";
    Frame({Key(SDLK_RETURN)});
    EXPECT_EQ(game.engine.states.back(), cSerijacija::Instance());
    Mix_HaltMusic();
}

TEST_F(ScreensTest, TheSelectionShowsTheNameWhileTheIconIsHovered)
{
    Frame({Move(ICON_X, ICON_Y), Click(START_X, START_Y)}); // resting there when the screen opens
    EXPECT_FALSE(game.engine.iconHovered);
    for (auto [x, y, rgb] : {std::tuple{5, 5, PEJZAZ},
                             {251, 47, IKONICA},
                             {297, 83, IKONICA},
                             {298, 83, PEJZAZ},
                             {208, 250, PEJZAZ}})
        EXPECT_EQ(game.Pixel(x, y), rgb) << x << "," << y;
    for (auto [x, y, hovered] : {std::tuple{252, 48, true},
                                 {251, 60, false},
                                 {295, 81, true},
                                 {296, 60, false},
                                 {270, 47, false},
                                 {270, 82, false},
                                 {ICON_X, ICON_Y, true}}) {
        Frame({Move(x, y)});
        EXPECT_EQ(game.engine.iconHovered, hovered) << x << "," << y;
        // "Stapici" at (208, 243), 67 pixels wide.
        const uint32_t name = hovered ? INK : PEJZAZ;
        EXPECT_EQ(
            std::tuple(game.Pixel(208, 250), game.Pixel(208 + 66, 250), game.Pixel(208 + 67, 250)),
            std::tuple(name, name, PEJZAZ));
    }
    Trace();
    Frame({Key(SDLK_SPACE), Key(SDLK_RETURN), Key(SDLK_UP)});
    EXPECT_EQ(Trace(), "");
    Frames({SDLK_ESCAPE, SDLK_RETURN});
    EXPECT_TRUE(game.engine.iconHovered) << "nothing is reset under the dialog";
    EXPECT_EQ(game.Pixel(208, 250), INK);
}

TEST_F(ScreensTest, F11SwitchesAndAFailedSwitchKeepsAWorkingScreen)
{
    Frame({Key(SDLK_F11)});
    EXPECT_TRUE(game.engine.fullscreen);
    SDL_Surface* screen = game.engine.screen;
    EXPECT_EQ(std::tuple(screen->w, screen->h, screen->format->BitsPerPixel),
              std::tuple(640, 480, Uint8(32)));
    EXPECT_EQ(game.Pixel(207, 318), START) << "drawn whole on the new surface";
    Frame({Key(SDLK_F11)});
    failFullscreen = true; // falls back to a window
    Frame({Key(SDLK_F11)});
    EXPECT_EQ(std::pair(game.engine.fullscreen, game.Pixel(0, 0)), std::pair(false, SIVO));
    failFullscreen = false;
    Frame({Key(SDLK_F11)});

    // The selection keeps its own flag through the dialog, cleared on each entry.
    ToSelection();
    Frames({SDLK_F11, SDLK_ESCAPE, SDLK_RETURN, SDLK_F11, SDLK_F11});
    game.engine.ChangeState(Selection());
    Frame({Key(SDLK_F11)});
    EXPECT_EQ(modes, (Modes{FS, 0, FS, 0, FS, FS, 0, FS, FS}));
    failWindow = true; // stays full screen
    Frame({Key(SDLK_F11)});
    EXPECT_TRUE(Selection()->fullscreen);
    EXPECT_EQ(game.Pixel(5, 5), PEJZAZ);

    // When no mode works the game ends cleanly, handling the events after it; a frame without a
    // screen draws nothing.
    failFullscreen = true;
    Frame({Key(SDLK_F11), Move(ICON_X, ICON_Y)});
    EXPECT_EQ(std::tuple(game.engine.iconHovered, game.engine.running, game.engine.screen),
              std::tuple(true, false, nullptr));
    Frame();
}

TEST_F(ScreensTest, MemoryStaysFlatOverManyEntries)
{
    ToSelection();
    auto round = [&] { // a new entry, the dialog, the puzzle and out through its exit button
        game.engine.ChangeState(Selection());
        Frames({SDLK_ESCAPE, SDLK_RETURN});
        Frame({Move(ICON_X, ICON_Y), Click(ICON_X, ICON_Y)});
        EXPECT_EQ(game.engine.states.back(), cSerijacija::Instance());
        Frame({Move(570, 50), Click(570, 50)});
        Mix_HaltMusic();
        EXPECT_EQ(game.engine.states.back(), Selection());
    };
    for (int i = 0; i < 10; ++i)
        round();
    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 100 && !HasFailure(); ++i)
        round();
    EXPECT_LT(mallinfo2().uordblks, before + 64 * 1024);
}

} // namespace
