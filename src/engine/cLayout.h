// Where everything stands on the 640 x 480 screen, and the frames cut from the sprite
// sheets. The screens, the headless tests and the benchmarks all read these numbers here.
#pragma once

#include <SDL.h>

class cLayout
{
public:
    static constexpr int SCREEN_WIDTH = 640;
    static constexpr int SCREEN_HEIGHT = 480;

    struct cPoint
    {
        int x;
        int y;
    };

    // A sprite button: its hit area on the screen and the size of one of its three frames.
    struct cButton
    {
        SDL_Rect hit;
        Uint16 frameWidth;
        Uint16 frameHeight;
    };

    // The intro.
    static constexpr cPoint CREDIT = {19, 296};
    static constexpr cPoint TITLE = {36, 196};
    static constexpr cButton START_BUTTON = {{207, 318, 215, 102}, 215, 102};

    // The activity selection. The icon's hit area is a pixel smaller than its frame on
    // the right and bottom.
    static constexpr cButton ACTIVITY_ICON = {{251, 47, 45, 35}, 47, 37};
    static constexpr cPoint ACTIVITY_NAME = {208, 243};

    // The pause dialog, drawn over whatever screen it covers.
    static constexpr cPoint DIALOG = {192, 176};

    // The log puzzle.
    static constexpr cButton EXIT_BUTTON = {{532, 19, 89, 75}, 89, 75};
    static constexpr int COLUMN_COUNT = 10;
    // Logs start standing on this line, in columns 50 apart from x = 30.
    static constexpr int LOG_TOP = 48;
    static constexpr int FIRST_COLUMN = 30;
    static constexpr int COLUMN_STEP = 50;
    // The flowers: one every 40 pixels from x = 23, on this line.
    static constexpr int SLOT_Y = 376;
    static constexpr int FIRST_SLOT_X = 23;
    static constexpr int SLOT_STEP = 40;
    // A free flower catches a log in a small square at its top-left.
    static constexpr Uint16 SLOT_CATCH = 3;
    // A dropped log stands this far left of its flower, its foot this far above it.
    static constexpr int DROP_LEFT = 7;
    static constexpr int DROP_ABOVE = 3;
    static constexpr cPoint VERDICT = {180, 200};
    static constexpr cPoint HINT = {120, 324};
    // Source rectangles of the ten logs in "balvani_sprajtmapa.gif", tallest first. The
    // x steps are irregular because that is where the logs stand on the sheet.
    static constexpr SDL_Rect LOG_FRAMES[COLUMN_COUNT] = {
        {0, 0, 29, 195},    {28, 19, 29, 175},  {56, 34, 29, 160}, {83, 51, 29, 144},
        {112, 68, 29, 130}, {140, 84, 29, 112}, {170, 99, 29, 96}, {199, 117, 29, 80},
        {227, 133, 29, 63}, {255, 148, 29, 48},
    };

    static constexpr int SlotX(int k) { return FIRST_SLOT_X + SLOT_STEP * k; }
    static constexpr int ColumnX(int i) { return FIRST_COLUMN + COLUMN_STEP * i; }
};
