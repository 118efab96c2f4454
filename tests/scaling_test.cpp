// The big-screen options: their parsing, the choice of scale, the pointer's way back into
// the picture, the scaler, and F11 from each of them on every screen.
#include "cHeadlessGame.h"
#include "engine/cOptions.h"
#include "engine/cScaler.h"
#include "engine/cViewport.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"

#include <array>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

using V = std::vector<int>;
using H = cHeadlessGame;

// Each mode the game asks SDL for: width, height, 1 for full screen; either kind can be made
// to fail. The dummy driver has no full screen; a window of the size stands in.
std::vector<V> asked;
bool failFullscreen, failWindow;
const bool compat = SDL_Linked_Version()->patch >= 50; // SDL 1.2 run over SDL 2
SDL_Surface* RecordMode(int w, int h, int bpp, Uint32 flags)
{
    asked.push_back({w, h, (flags & SDL_FULLSCREEN) != 0});
    const bool fail = (flags & SDL_FULLSCREEN) ? failFullscreen : failWindow;
    if (fail)
        SDL_SetError("refused");
    return fail ? nullptr : SDL_SetVideoMode(w, h, bpp, flags & ~SDL_FULLSCREEN);
}

TEST(Options, DisplayOptionsAreReadAndAnythingElseIsRefusedInOneLine)
{
    const cOptions::eAction RUN = cOptions::RUN, FAIL = cOptions::FAIL;
    // The command line, then the action, the scale (-1: auto), full screen and one button.
    const std::pair<std::vector<const char*>, V> cases[] = {
        {{"zagonetar"}, {RUN, 0, 0, 0}},
        {{"zagonetar", "--scale", "1"}, {RUN, 1, 0, 0}},
        {{"zagonetar", "--scale=8", "--fullscreen", "--one-button"}, {RUN, 8, 1, 1}},
        {{"zagonetar", "--one-button", "--fullscreen", "--scale", "auto"}, {RUN, -1, 1, 1}},
        {{"zagonetar", "--version", "--bogus"}, {cOptions::VERSION, 0, 0, 0}},
        {{"zagonetar", "--scale", "2", "--help"}, {cOptions::HELP, 2, 0, 0}}};
    for (const auto& [argv, want] : cases) {
        const cOptions o = cOptions::Parse(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(V({o.action, o.scale, o.fullscreen, o.oneButton}), want);
    }
    for (const char* bad :
         {"--scale", "--scale=", "--scale=0", "--scale=9", "--scale=2x", "--scale=-1",
          "--scale=AUTO", "--scal", "-f", "game.bin", "--one-buton", "--one-button=1"}) {
        const cOptions o = cOptions::Parse(2, std::array{"zagonetar", bad}.data());
        EXPECT_EQ(V({o.action, o.error.find('\n') == std::string::npos}), V({FAIL, true})) << bad;
    }
}

// --scale auto's choice at the edges of 90 % of the desktop; the pointer mapped into the centred
// picture, clamped to its edge; a press off it dropped, a release never (a drag still ends).
TEST(Viewport, AutoScaleAndThePointerMappedBackIntoThePicture)
{
    const int desktops[][3] = {{1920, 1080, 2}, {3840, 2160, 4}, {1366, 768, 1}, {1423, 1067, 2},
                               {1422, 1080, 1}, {1920, 1066, 1}, {640, 480, 1}};
    for (const auto& d : desktops)
        EXPECT_EQ(cViewport::AutoScale(d[0], d[1]), d[2]) << d[0] << "x" << d[1];
    const cViewport hd = cViewport::Letterbox(1920, 1080), uhd = cViewport::Letterbox(3840, 2160);
    // The display position, the picture position it maps to, and whether it was on the picture.
    const std::tuple<cViewport, int, int, int, int, bool> points[] = {
        {hd, 320, 60, 0, 0, true},        {hd, 1599, 1019, 639, 479, true},
        {hd, 948, 798, 314, 369, true},   {hd, 319, 59, 0, 0, false},
        {hd, 1600, 500, 639, 220, false}, {uhd, 643, 123, 0, 0, true},
        {uhd, 644, 124, 1, 1, true},      {cViewport::Window(3), 941, 1439, 313, 479, true},
    };
    for (const auto& [view, dx, dy, px, py, inside] : points)
        for (Uint8 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEMOTION}) {
            SCOPED_TRACE(testing::Message() << dx << "," << dy << " event " << int{type});
            SDL_Event event = {};
            event.type = type;
            Uint16& x = type == SDL_MOUSEMOTION ? event.motion.x : event.button.x;
            Uint16& y = type == SDL_MOUSEMOTION ? event.motion.y : event.button.y;
            std::tie(x, y) = std::pair(dx, dy);
            const bool kept = inside || type != SDL_MOUSEBUTTONDOWN;
            ASSERT_EQ(view.MapEvent(event), kept);
            EXPECT_TRUE(!kept || V({x, y}) == V({px, py}));
        }
}

// Both the 32-bit path every desktop takes and the 24-bit one; then nothing redrawn for an
// unchanged picture, and only the band of a changed row.
TEST(Scaler, EnlargesEachPixelToASquareAndRedrawsOnlyWhatChanged)
{
    for (int depth : {24, 32}) {
        SCOPED_TRACE(testing::Message() << depth << " bits");
        SDL_Surface* from = SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 3, depth, 0, 0, 0, 0);
        SDL_Surface* to = SDL_CreateRGBSurface(SDL_SWSURFACE, 18, 13, depth, 0, 0, 0, 0);
        const auto dot = [from](int x, int y, Uint32 rgb) {
            SDL_Rect r = {Sint16(x), Sint16(y), 1, 1};
            SDL_FillRect(from, &r, rgb);
        };
        for (int i = 0; i < 15; ++i)
            dot(i % 5, i / 5, 0x010203 * (10 * (i / 5) + i % 5));
        SDL_FillRect(to, nullptr, 0xEEEEEE);
        // Scaled 3 times with its corner at (1, 2): each pixel a 3 x 3 square, the rest as it was.
        cScaler scaler;
        EXPECT_EQ(scaler.Present(from, to, 1, 2, 3).h, 9);
        const int squares[][3] = {{0, 0, 0xEEEEEE},   {1, 2, 0},          {3, 4, 0},
                                  {4, 2, 0x010203},   {15, 10, 0x183048}, {16, 10, 0xEEEEEE},
                                  {15, 11, 0xEEEEEE}, {13, 7, 0x0e1c2a}};
        for (auto [x, y, rgb] : squares)
            EXPECT_EQ(cHeadlessGame::Pixel(to, x, y), uint32_t(rgb)) << x << "," << y;
        EXPECT_EQ(scaler.Present(from, to, 1, 2, 3).h, 0) << "nothing changed";
        dot(2, 1, 0xff0000); // in the middle row
        const SDL_Rect band = scaler.Present(from, to, 1, 2, 3);
        EXPECT_EQ(V({band.x, band.y, band.w, band.h}), V({1, 5, 15, 3}));
        EXPECT_EQ(cHeadlessGame::Pixel(to, 9, 7), 0xff0000u);
        SDL_FreeSurface(to);
        SDL_FreeSurface(from);
    }
}

// F11 there and back on the intro, the selection and the puzzle, from each start: the mode
// asked for, the picture on the display, and a click where the screen's button shows.
TEST(Display, F11SwitchesEveryModeThereAndBackOnEachScreenAndThePointerFollows)
{
    // A mode (width, height, full screen) and the picture's scale and top-left corner on it.
    // Classic SDL's dummy driver tells no desktop size, so full screen is a 640 x 480 mode;
    // over sdl12-compat it is SDL 2's dummy desktop, 1024 x 768, the picture centred on black.
    using cShown = std::array<int, 6>;
    const cShown WINDOW = {640, 480, 0, 1, 0, 0}, DOUBLE = {1280, 960, 0, 2, 0, 0};
    const cShown FULL = compat ? cShown{1024, 768, 1, 1, 192, 144} : cShown{640, 480, 1, 1, 0, 0};
    // --scale, --fullscreen; the mode opened, then after each F11, two on each screen. The
    // selection's own idea of the mode starts as a window: after --fullscreen its first F11
    // asks for the full screen it is already in, and nothing changes.
    const std::tuple<int, bool, std::vector<cShown>> starts[] = {
        {0, false, {WINDOW, FULL, WINDOW, FULL, WINDOW, FULL, WINDOW}},
        {2, false, {DOUBLE, FULL, DOUBLE, FULL, DOUBLE, FULL, DOUBLE}},
        {0, true, {FULL, WINDOW, FULL, FULL, WINDOW, FULL, WINDOW}}};
    // Points of each screen's picture and their colours in the sources: the intro's sky, the start
    // button's white disc and green arrow; the selection's sun and signpost; the puzzle's sun, pond
    // and exit arrow. Last, the point clicked to leave: the start button, activity icon, exit.
    const std::vector<V> screens[] = {
        {{3, 3, 0xd3dae1}, {253, 346, 0xffffff}, {253, 364, 0x2e9e3c}, {314, 369}},
        {{78, 78, 0xffd93b}, {212, 290, 0x8a5a2b}, {273, 64}},
        {{5, 5, 0xffe27a}, {560, 432, 0x7cc6ee}, {587, 53, 0xffffff}, {576, 56}}};
    cGameState* const next[] = {cIzbor::Instance(), cSerijacija::Instance(), cIzbor::Instance()};
    for (const auto& [scale, fullscreen, shown] : starts) {
        asked.clear();
        cOptions options;
        options.scale = scale;
        options.fullscreen = fullscreen;
        H game(32, options, RecordMode);
        for (size_t step = 0; step < shown.size(); ++step) {
            SCOPED_TRACE(testing::Message() << "--scale " << scale << " --fullscreen " << fullscreen
                                            << ", F11 pressed " << step << " times");
            const auto& [w, h, full, s, x, y] = shown[step];
            if (step > 0)
                H::PushKey(SDLK_F11);
            game.Frames();
            const cShown& was = shown[step > 0 ? step - 1 : 0];
            const bool same = step > 0 && was[0] == w && was[1] == h && was[2] == full;
            EXPECT_EQ(asked, (same ? std::vector<V>{} : std::vector<V>{{w, h, full}}));
            asked.clear();
            SDL_Surface* display = SDL_GetVideoSurface();
            ASSERT_EQ(V({display->w, display->h}), V({w, h}));
            const std::vector<V>& screen = screens[step > 0 ? (step - 1) / 2 : 0];
            for (size_t i = 0; i + 1 < screen.size(); ++i)
                for (int c : {0, s - 1}) { // both corners of the s x s square a pixel becomes
                    const int px = x + screen[i][0] * s + c, py = y + screen[i][1] * s + c;
                    EXPECT_TRUE(H::Near(H::Pixel(display, px, py), screen[i][2]))
                        << px << "," << py;
                }
            if (step > 0 && step % 2 == 0) {
                H::PushClick(x + screen.back()[0] * s, y + screen.back()[1] * s);
                game.Frames();
                EXPECT_EQ(game.engine.states.back(), next[(step - 1) / 2]);
            }
        }
    }
}

// Each screen keeps its own idea of the mode; a refused switch keeps the screen that works
// and the idea as it was; with no mode left the game ends after the frame.
TEST(Display, F11KeepsEachScreensOwnFlagAndAFailedSwitchKeepsAWorkingScreen)
{
    failFullscreen = failWindow = false;
    H game(32, cOptions(), RecordMode);
    cTrace complaints(2);
    const auto keys = [&game](std::initializer_list<SDLKey> pressed) {
        for (SDLKey key : pressed)
            H::PushKey(key);
        game.Frames();
    };
    asked.clear();
    H::PushKey(SDLK_ESCAPE, false); // a key's release alone does nothing, Esc's neither
    keys({SDLK_F11});
    failFullscreen = true; // the intro's flag lasts: the next F11 asks for a window
    keys({SDLK_F11});
    H::PushClick(314, 369), game.Frames();
    keys({SDLK_F11}); // the selection's flag starts cleared: asks for full screen, refused
    EXPECT_EQ(complaints.Take(), "Zagonetar: could not switch to full screen: refused\n");
    failFullscreen = false;
    keys({SDLK_F11, SDLK_F11}); // full screen and back: the icon is clicked in the window
    H::PushClick(273, 64), game.Frames();
    keys({SDLK_F11, SDLK_SPACE, SDLK_F11}); // so does every new puzzle's
    // Over sdl12-compat a switch to the mode the display is already in asks SDL for nothing.
    const V W = {640, 480, 0}, F = compat ? V{1024, 768, 1} : V{640, 480, 1};
    const std::vector<V> want = {F, W, F, W, F, W, F, F};
    EXPECT_EQ(asked, std::vector<V>(want.begin(), want.end() - compat));
    EXPECT_EQ(game.engine.states.back(), cSerijacija::Instance());
    // It draws on into a picture of its own, if it has one.
    failFullscreen = failWindow = true;
    keys({SDLK_F11, SDLK_F11});
    const std::string closing = "Zagonetar: could not switch to a window: refused\n"
                                "Zagonetar: the display can't be opened again; closing the game.\n";
    EXPECT_EQ(complaints.Take(), closing + closing) << "once for each F11";
    EXPECT_EQ(game.engine.screen != nullptr, compat);
    EXPECT_FALSE(game.engine.Running());
}

} // namespace
