// The engine's state stack and frame pacing, the display's settings for SDL, and the timer.
#include "cHeadlessGame.h"
#include "engine/cGameState.h"
#include "engine/cTimer.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

// A screen that only writes down what the engine asks of it.
struct cRecorder : cGameState
{
    std::string name, *log;
    cRecorder(const char* name, std::string* log) : name(name), log(log) {}
    void Init(cGameEngine*) override { *log += name + "I "; }
    void Cleanup(cGameEngine*) override { *log += name + "C "; }
    void Pause() override { *log += name + "P "; }
    void Resume() override { *log += name + "R "; }
    void HandleEvents(cGameEngine*) override { *log += name + "H "; }
    void Update(cGameEngine*) override { *log += name + "U "; }
    void Draw(cGameEngine*) override { *log += name + "D "; }
};

TEST(Engine, TheStateStackCallsEachLifecycleStepInOrderAndAnEmptyStackEndsTheGame)
{
    std::string log;
    cRecorder a("a", &log), b("b", &log), c("c", &log);
    cGameEngine engine;
    engine.running = true;
    engine.ChangeState(&a); // on an empty stack: only set up
    engine.PushState(&b);
    engine.PushState(&c);
    engine.PopState();
    engine.ChangeState(&c); // replaces only the top
    engine.HandleEvents();
    engine.Update();
    engine.Draw(); // no screen to draw on: Draw must not reach the state
    engine.PopState();
    engine.PopState(); // a stack of one: popped, and nobody to resume
    engine.PopState(); // empty: nothing happens
    EXPECT_EQ(log, "aI aP bI bP cI cC bR bC cI cH cU cC aR aC ");
    engine.HandleEvents();
    EXPECT_FALSE(engine.running);
}

TEST(Engine, AFrameSleepsOnlyWhatIsLeftOfThe33Milliseconds)
{
    EXPECT_EQ(cGameEngine::FrameDelay(32000), 1000);
    EXPECT_EQ(cGameEngine::FrameDelay(33500), 0);
}

// Each of the game's settings for SDL goes only where the player has not set one.
TEST(Display, SdlSettingsTheGameChoosesLeaveThePlayersAlone)
{
    const char* const settings[][2] = {{"SDL_VIDEODRIVER", "x11"},
                                       {"SDL12COMPAT_OPENGL_SCALING", "0"},
                                       {"SDL_RENDER_DRIVER", "software"},
                                       {"SDL_FRAMEBUFFER_ACCELERATION", "0"}};
    // Every other one set by the player, then the others.
    for (int players : {0, 1}) {
        for (int i = 0; i < 4; ++i)
            i % 2 == players ? setenv(settings[i][0], "mine", 1) : unsetenv(settings[i][0]);
        cDisplay::ChooseSdlSettings();
        for (int i = 0; i < 4; ++i)
            EXPECT_STREQ(getenv(settings[i][0]), i % 2 == players ? "mine" : settings[i][1]);
    }
    for (const auto& setting : settings)
        unsetenv(setting[0]);
    setenv("SDL_VIDEODRIVER", "dummy", 1); // as the tests are run
}

// The puzzle's timer: the hint's blinking counts from the puzzle's set-up.
TEST(Timer, CountsFromStartAndReadsZeroStopped)
{
    SDL_Init(SDL_INIT_TIMER);
    cTimer timer;
    SDL_Delay(50); // so that time since Start differs from time since SDL started
    const Uint32 started = SDL_GetTicks();
    timer.Start();
    SDL_Delay(30);
    EXPECT_GE(timer.GetTicks(), 30);
    EXPECT_LE(timer.GetTicks(), static_cast<int32_t>(SDL_GetTicks() - started));
    timer.Stop();
    EXPECT_EQ(timer.GetTicks(), 0);
    SDL_Quit();
}

} // namespace
