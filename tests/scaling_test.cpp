// The big-screen options: their parsing, the choice of scale, the pointer's way back into
// the picture, and the scaler.
#include "engine/cOptions.h"
#include "engine/cScaler.h"
#include "engine/cViewport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

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
        {{"--scale", "2", "--help"}, cOptions::HELP, 2, false}};
    for (const auto& [args, action, scale, fullscreen] : cases) {
        std::vector<const char*> argv = {"zagonetar"};
        argv.insert(argv.end(), args.begin(), args.end());
        const cOptions o = cOptions::Parse(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(V({o.action, o.scale, o.fullscreen}), V({action, scale, fullscreen}));
    }
    for (const char* bad : {"--scale", "--scale=", "--scale=0", "--scale=9", "--scale=2x",
                            "--scale=-1", "--scale=AUTO", "--scal", "-f", "game.bin"}) {
        const char* argv[] = {"zagonetar", bad};
        const cOptions o = cOptions::Parse(2, argv);
        EXPECT_EQ(V({o.action, o.error.find('\n') == std::string::npos}), V({FAIL, true})) << bad;
    }
}

// --scale auto's choice, at the edges of 90 % of the desktop; presses, releases and motions
// mapped into the centred picture, clamped to its edge; a press off the picture dropped, a
// release never, so a drag that leaves the picture still ends.
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
            x = static_cast<Uint16>(dx);
            y = static_cast<Uint16>(dy);
            const bool kept = inside || type != SDL_MOUSEBUTTONDOWN;
            ASSERT_EQ(view.MapEvent(event), kept);
            EXPECT_TRUE(!kept || V({x, y}) == V({px, py}));
        }
}

// The 32-bit path every desktop takes and the pixel-at-a-time one, against an enlargement
// pixel by pixel with the corner at (1, 2) and the rest untouched; then nothing redrawn for
// an unchanged picture and only the band of a changed row.
TEST(Scaler, MatchesAPixelByPixelEnlargementAndOnlyChangesAreRedrawn)
{
    for (int depth : {24, 32})
        for (int scale : {2, 3}) {
            SCOPED_TRACE(testing::Message() << depth << " bits, x" << scale);
            SDL_Surface* from = SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 3, depth, 0, 0, 0, 0);
            SDL_Surface* to = SDL_CreateRGBSurface(SDL_SWSURFACE, 18, 13, depth, 0, 0, 0, 0);
            Uint8* source = static_cast<Uint8*>(from->pixels);
            Uint8* shown = static_cast<Uint8*>(to->pixels);
            const int bytes = from->format->BytesPerPixel;
            for (int i = 0; i < from->pitch * from->h; ++i)
                source[i] = static_cast<Uint8>(i * 7 + 1);
            memset(shown, 0xEE, static_cast<size_t>(to->pitch * to->h));
            auto expectScaled = [&] {
                for (int i = 0; i < to->pitch * to->h; ++i) {
                    const int y = i / to->pitch, inRow = i % to->pitch, x = inRow / bytes;
                    const int at =
                        (y - 2) / scale * from->pitch + (x - 1) / scale * bytes + inRow % bytes;
                    const bool inside = x >= 1 && y >= 2 && x < 1 + 5 * scale && y < 2 + 3 * scale;
                    ASSERT_EQ(shown[i], inside ? source[at] : 0xEE) << x << "," << y;
                }
            };
            cScaler scaler;
            EXPECT_EQ(scaler.Present(from, to, 1, 2, scale).h, 3 * scale);
            expectScaled();
            EXPECT_EQ(scaler.Present(from, to, 1, 2, scale).h, 0) << "nothing changed";
            source[from->pitch + 2] ^= 0xFF; // the middle row
            const SDL_Rect band = scaler.Present(from, to, 1, 2, scale);
            EXPECT_EQ(V({band.x, band.y, band.w, band.h}), V({1, 2 + scale, 5 * scale, scale}));
            expectScaled();
            SDL_FreeSurface(to);
            SDL_FreeSurface(from);
        }
}

// The picture drawn straight into a window of its size: nothing copied, the changed
// rows still told. And a change of any one byte, at any place in a row of any length,
// changes the row's fingerprint.
TEST(Scaler, APictureThatIsItsOwnDisplayIsOnlyWatchedAndEveryByteCounts)
{
    SDL_Surface* window = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 6, 32, 0, 0, 0, 0);
    Uint8* pixels = static_cast<Uint8*>(window->pixels);
    memset(pixels, 0x55, static_cast<size_t>(window->pitch * window->h));
    cScaler scaler;
    EXPECT_EQ(scaler.Present(window, window, 0, 0, 1).h, 6);
    EXPECT_EQ(scaler.Present(window, window, 0, 0, 1).h, 0);
    pixels[2 * window->pitch + 1] = 0x56;
    pixels[4 * window->pitch + 15] = 0x54;
    const SDL_Rect band = scaler.Present(window, window, 0, 0, 1);
    EXPECT_EQ(V({band.x, band.y, band.w, band.h}), V({0, 2, 4, 3}));
    EXPECT_EQ(pixels[2 * window->pitch], 0x55) << "nothing was drawn over the picture";
    SDL_FreeSurface(window);

    for (size_t length : {1, 7, 8, 31, 32, 33, 2560}) {
        std::vector<Uint8> row(length, 0xA5);
        const uint64_t plain = cScaler::Fingerprint(row.data(), length);
        for (size_t i = 0; i < length; ++i)
            for (Uint8 flip : {0x01, 0x80}) {
                row[i] ^= flip;
                EXPECT_NE(cScaler::Fingerprint(row.data(), length), plain) << length << " " << i;
                row[i] ^= flip;
            }
    }
}

} // namespace
