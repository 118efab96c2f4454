// The command line: a parent can ask for a larger window or for full screen, or for the
// puzzle played with clicks alone; without options the game opens its usual 640 x 480
// window and the logs are dragged.
#pragma once

#include <string>

class cOptions
{
public:
    enum eAction { RUN, HELP, VERSION, FAIL };
    // `--scale auto`: the largest window that fits the desktop.
    static constexpr int SCALE_AUTO = -1;
    static constexpr int MAX_SCALE = 8;

    // Reads argv[1] on. Stops at the first --help, --version or mistake; a mistake leaves
    // its one-line explanation in `error`.
    static cOptions Parse(int argc, const char* const* argv);
    // What --help prints.
    static const char* Usage();

    // Any option about the display: the picture is then scaled when presented.
    bool Scaled() const { return scale != 0 || fullscreen; }

    eAction action = RUN;
    // 0 when not asked, 1 to MAX_SCALE, or SCALE_AUTO.
    int scale = 0;
    bool fullscreen = false;
    // The puzzle played with one button and no holding: see cSerijacijaModel::oneButton.
    bool oneButton = false;
    std::string error;
};
