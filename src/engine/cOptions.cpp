// Parsing the command line, before any window opens.
#include "engine/cOptions.h"

#include <cstring>

namespace {

cOptions Failure(const std::string& why)
{
    cOptions options;
    options.action = cOptions::FAIL;
    options.error = "zagonetar: " + why + " (zagonetar --help lists the options)";
    return options;
}

} // namespace

cOptions cOptions::Parse(int argc, const char* const* argv)
{
    cOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            options.action = HELP;
            return options;
        }
        if (arg == "--version") {
            options.action = VERSION;
            return options;
        }
        if (arg == "--fullscreen") {
            options.fullscreen = true;
            continue;
        }
        if (arg == "--one-button") {
            options.oneButton = true;
            continue;
        }
        std::string value;
        if (arg == "--scale") {
            if (i + 1 == argc)
                return Failure("--scale needs a value, 1 to 8 or auto");
            value = argv[++i];
        } else if (arg.rfind("--scale=", 0) == 0) {
            value = arg.substr(strlen("--scale="));
        } else {
            return Failure((arg[0] == '-' ? "unknown option '" : "unexpected argument '") + arg +
                           "'");
        }
        if (value == "auto") {
            options.scale = SCALE_AUTO;
        } else if (value.size() == 1 && value[0] >= '1' && value[0] <= '0' + MAX_SCALE) {
            options.scale = value[0] - '0';
        } else {
            return Failure("--scale takes 1 to 8 or auto, not '" + value + "'");
        }
    }
    return options;
}

const char* cOptions::Usage()
{
    return "Usage: zagonetar [--scale N | --scale auto] [--fullscreen] [--one-button]\n"
           "A log seriation puzzle for young children.\n"
           "\n"
           "  --scale N      a window N times as large as 640x480, N from 1 to 8\n"
           "  --scale auto   the largest such window that fits the desktop\n"
           "  --fullscreen   start in full screen, the picture enlarged to fit the desktop\n"
           "  --one-button   play with the left button or a finger alone: click a log to\n"
           "                 pick it up, click a flower to put it down, click a placed log\n"
           "                 to move it again, click anywhere for a new puzzle\n"
           "  --help         print this help and end\n"
           "  --version      print the name and version and end\n"
           "\n"
           "With --scale or --fullscreen, F11 switches between that window and a full\n"
           "screen at the desktop's own resolution; without them the game opens its\n"
           "640x480 window and F11 switches the display to 640x480.\n";
}
