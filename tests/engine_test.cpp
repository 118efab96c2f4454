// Frame pacing and the game's settings for SDL; the state stack is tested with the screens.
#include "engine/cDisplay.h"
#include "engine/cGameEngine.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(Engine, AFrameSleepsOnlyWhatIsLeftOfThe33Milliseconds)
{
    EXPECT_EQ(cGameEngine::FrameDelay(32000), 1000);
    EXPECT_EQ(cGameEngine::FrameDelay(33500), 0);
}

TEST(Display, SdlSettingsTheGameChoosesLeaveThePlayersAlone)
{
    const char* const settings[][2] = {{"SDL_VIDEODRIVER", "x11"},
                                       {"SDL12COMPAT_OPENGL_SCALING", "0"},
                                       {"SDL_RENDER_DRIVER", "software"},
                                       {"SDL_FRAMEBUFFER_ACCELERATION", "0"}};
    // Every other one set by the player; the game's go only where none is.
    for (int i = 0; i < 4; ++i)
        i % 2 ? setenv(settings[i][0], "mine", 1) : unsetenv(settings[i][0]);
    cDisplay::ChooseSdlSettings();
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(getenv(settings[i][0]), i % 2 ? "mine" : settings[i][1]);
    for (const auto& setting : settings)
        unsetenv(setting[0]);
    setenv("SDL_VIDEODRIVER", "dummy", 1); // as the tests are run
}

} // namespace
