// The big-screen options: their parsing, the choice of scale, the pointer's way back into
// the picture, the scaler, and a scaled game played with the mouse.
#include "cHeadlessGame.h"
#include "engine/cOptions.h"
#include "engine/cScaler.h"
#include "engine/cViewport.h"
#include "screens/cSerijacija.h"

#include <cstring>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

using L = cLayout;
using V = std::vector<int>;

TEST(Options, DisplayOptionsAreReadAndAnythingElseIsRefusedInOneLine)
{
    const cOptions::eAction RUN = cOptions::RUN, FAIL = cOptions::FAIL;
    const std::tuple<std::vector<const char*>, cOptions::eAction, int, bool> cases[] = {
        {{}, RUN, 0, false},
        {{"--scale", "1"}, RUN, 1, false},
        {{"--scale=8", "--fullscreen"}, RUN, 8, true},
        {{"--fullscreen", "--scale", "auto"}, RUN, cOptions::SCALE_AUTO, true},
        {{"--version", "--bogus"}, cOptions::VERSION, 0, false},
        {{"--scale", "2", "--help"}, cOptions::HELP, 2, false},
    };
    for (const auto& [args, action, scale, fullscreen] : cases) {
        std::vector<const char*> argv = {"zagonetar"};
        argv.insert(argv.end(), args.begin(), args.end());
        const cOptions o = cOptions::Parse(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(V({o.action, o.scale, o.fullscreen}), V({action, scale, fullscreen}))
            << argv.back();
    }
    for (const char* bad : {"--scale", "--scale=", "--scale=0", "--scale=9", "--scale=2x",
                            "--scale=-1", "--scale=AUTO", "--scal", "-f", "game.bin"}) {
        const char* argv[] = {"zagonetar", bad};
        const cOptions o = cOptions::Parse(2, argv);
        EXPECT_EQ(V({o.action, o.error.find('\n') == std::string::npos}), V({FAIL, true})) << bad;
    }
}

// --scale auto's choice; presses, releases and motions mapped into the centred picture,
// clamped to its edge; a press off the picture dropped, a release never.
TEST(Viewport, AutoScaleAndThePointerMappedBackIntoThePicture)
{
    const int desktops[][3] = {{1920, 1080, 2}, {2560, 1440, 2}, {3840, 2160, 4},
                               {1366, 768, 1},  {1423, 1067, 2}, {1422, 1080, 1},
                               {1920, 1066, 1}, {640, 480, 1},   {0, 0, 1}};
    for (const auto& d : desktops)
        EXPECT_EQ(cViewport::AutoScale(d[0], d[1]), d[2]) << d[0] << "x" << d[1];
    auto expect = [](const cViewport& view, int x, int y, int px, int py, bool inside) {
        for (Uint8 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEMOTION}) {
            SDL_Event event = {};
            event.type = type;
            Uint16& ex = type == SDL_MOUSEMOTION ? event.motion.x : event.button.x;
            Uint16& ey = type == SDL_MOUSEMOTION ? event.motion.y : event.button.y;
            ex = static_cast<Uint16>(x);
            ey = static_cast<Uint16>(y);
            const bool kept = inside || type != SDL_MOUSEBUTTONDOWN;
            EXPECT_EQ(view.MapEvent(event), kept) << x << "," << y << " " << int{type};
            EXPECT_TRUE(!kept || V({ex, ey}) == V({px, py})) << x << "," << y << " " << int{type};
        }
    };
    const cViewport hd = cViewport::Letterbox(1920, 1080), uhd = cViewport::Letterbox(3840, 2160);
    expect(hd, 320, 60, 0, 0, true);
    expect(hd, 1599, 1019, 639, 479, true);
    expect(hd, 948, 798, 314, 369, true);
    expect(hd, 319, 59, 0, 0, false);
    expect(hd, 1600, 500, 639, 220, false);
    expect(hd, 0, 1079, 0, 479, false);
    expect(uhd, 643, 123, 0, 0, true);
    expect(uhd, 644, 124, 1, 1, true);
    for (int s = 1; s <= cOptions::MAX_SCALE; ++s)
        expect(cViewport::Window(s), 313 * s + s - 1, 479 * s, 313, 479, true);
}

// Every pixel of `to` against the pixel of `from` it comes from, enlarged with its corner
// at (1, 2); the rest untouched.
void ExpectScaled(SDL_Surface* from, SDL_Surface* to, int scale)
{
    const int bytes = from->format->BytesPerPixel;
    for (int y = 0; y < to->h; ++y)
        for (int x = 0; x < to->w; ++x) {
            const Uint8* got = static_cast<Uint8*>(to->pixels) + y * to->pitch + x * bytes;
            const bool inside =
                x >= 1 && y >= 2 && x < 1 + from->w * scale && y < 2 + from->h * scale;
            const Uint8* want = static_cast<Uint8*>(from->pixels) + (y - 2) / scale * from->pitch +
                                (x - 1) / scale * bytes;
            for (int b = 0; b < bytes; ++b)
                ASSERT_EQ(got[b], inside ? want[b] : 0xEE) << x << "," << y << " x" << scale;
        }
}

TEST(Scaler, EveryDepthMatchesAPixelByPixelEnlargementAndOnlyChangesAreRedrawn)
{
    for (int depth : {8, 16, 24, 32})
        for (int scale : {2, 3}) {
            SDL_Surface* from = SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 3, depth, 0, 0, 0, 0);
            SDL_Surface* to = SDL_CreateRGBSurface(SDL_SWSURFACE, 5 * scale + 3, 3 * scale + 4,
                                                   depth, 0, 0, 0, 0);
            for (int i = 0; i < from->pitch * from->h; ++i)
                static_cast<Uint8*>(from->pixels)[i] = static_cast<Uint8>(i * 7 + 1);
            memset(to->pixels, 0xEE, static_cast<size_t>(to->pitch * to->h));
            cScaler scaler;
            EXPECT_EQ(scaler.Present(from, to, 1, 2, scale).h, 3 * scale);
            ExpectScaled(from, to, scale);
            EXPECT_EQ(scaler.Present(from, to, 1, 2, scale).h, 0) << "nothing changed";
            static_cast<Uint8*>(from->pixels)[from->pitch + 2] ^= 0xFF; // the middle row
            const SDL_Rect band = scaler.Present(from, to, 1, 2, scale);
            EXPECT_EQ(V({band.x, band.y, band.w, band.h}), V({1, 2 + scale, 5 * scale, scale}));
            ExpectScaled(from, to, scale);
            SDL_FreeSurface(to);
            SDL_FreeSurface(from);
        }
}

// The game in a window twice as large, the pointer mapped into the picture.
TEST(ScaledGame, AWindowTwiceAsLargeWhereALogIsDraggedOntoAFlower)
{
    cOptions options;
    options.scale = 2;
    cHeadlessGame game(32, options);
    ASSERT_EQ(V({game.engine.display->w, game.engine.display->h}), V({1280, 960}));
    const L::cButton start = L::START_BUTTON, icon = L::ACTIVITY_ICON;
    cHeadlessGame::PushClick(2 * (start.hit.x + 5), 2 * (start.hit.y + 5));
    game.Frames();
    cHeadlessGame::PushClick(2 * (icon.hit.x + 5), 2 * (icon.hit.y + 5));
    game.Frames();
    ASSERT_EQ(game.engine.states.back(), cSerijacija::Instance());
    // Column 0's log, whichever it is, by a point every log covers; let go where any
    // log touches the flower of slot 4.
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, 2 * (L::ColumnX(0) + 14), 2 * 60);
    cHeadlessGame::PushMotion(2 * (L::SlotX(4) + 1), 2 * 377);
    cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, 2 * (L::SlotX(4) + 1), 2 * 377);
    game.Frames(2);
    EXPECT_TRUE(cSerijacija::Instance()->puzzle.slots[4].IsOccupied());
}

} // namespace
