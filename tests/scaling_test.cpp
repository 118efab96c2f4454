// The big-screen options: their parsing.
#include "engine/cOptions.h"

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

} // namespace
