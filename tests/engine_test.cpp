// The engine's state stack, its frame pacing and start-up, and the frame timer.
#include "cHeadlessGame.h"
#include "engine/cGameState.h"
#include "engine/cTimer.h"
#include "screens/cGlavniMeni.h"
#include "screens/cIntro.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

// A screen that only writes down what the engine asks of it.
class cRecorder : public cGameState
{
public:
    cRecorder(const char* name, std::string* log) : name(name), log(log) {}
    void Init(cGameEngine*) override { *log += name + " Init\n"; }
    void Cleanup(cGameEngine*) override { *log += name + " Cleanup\n"; }
    void Pause() override { *log += name + " Pause\n"; }
    void Resume() override { *log += name + " Resume\n"; }
    void HandleEvents(cGameEngine*) override { *log += name + " HandleEvents\n"; }
    void Update(cGameEngine*) override { *log += name + " Update\n"; }
    void Draw(cGameEngine*) override { *log += name + " Draw\n"; }

private:
    std::string name;
    std::string* log;
};

TEST(StateStack, ChangePushAndPopCallTheLifecycleInOrder)
{
    std::string log;
    cRecorder a("a", &log), b("b", &log), c("c", &log);
    cGameEngine engine;

    engine.ChangeState(&a); // empty stack: only pushed and initialised
    EXPECT_EQ(log, "a Init\n");
    log.clear();
    engine.ChangeState(&a); // the state on top, again: cleaned up and set up anew
    EXPECT_EQ(log, "a Cleanup\na Init\n");
    EXPECT_EQ(engine.states.size(), 1u);
    log.clear();

    engine.PushState(&b);
    engine.PushState(&c);
    EXPECT_EQ(log, "a Pause\nb Init\nb Pause\nc Init\n");
    EXPECT_EQ(engine.states.size(), 3u);
    log.clear();

    engine.PopState();
    EXPECT_EQ(log, "c Cleanup\nb Resume\n");
    log.clear();
    engine.ChangeState(&c); // replaces only the top
    EXPECT_EQ(log, "b Cleanup\nc Init\n");
    ASSERT_EQ(engine.states.size(), 2u);
    EXPECT_EQ(engine.states[0], &a);
    log.clear();

    engine.PopState();
    engine.PopState(); // a stack of one: popped, and nobody to resume
    EXPECT_EQ(log, "c Cleanup\na Resume\na Cleanup\n");
    log.clear();
    engine.PopState(); // empty: nothing happens
    EXPECT_EQ(log, "");
    engine.PushState(&b); // empty: only pushed and initialised
    EXPECT_EQ(log, "b Init\n");
}

TEST(StateStack, FrameOperationsReachTheTopStateAndAnEmptyStackEndsTheGame)
{
    std::string log;
    cRecorder a("a", &log), b("b", &log);
    cGameEngine engine;
    engine.running = true;
    engine.ChangeState(&a);
    engine.PushState(&b);
    log.clear();
    engine.HandleEvents();
    engine.Update();
    engine.screen = nullptr; // nothing to draw on: Draw must not reach the state
    engine.Draw();
    EXPECT_EQ(log, "b HandleEvents\nb Update\n");

    engine.states.clear();
    engine.HandleEvents();
    engine.Update();
    EXPECT_FALSE(engine.running);
}

TEST(FramePacing, SleepsOnlyWhatIsLeftOfThe33Milliseconds)
{
    EXPECT_EQ(cGameEngine::FrameDelay(0), 33000);
    EXPECT_EQ(cGameEngine::FrameDelay(32000), 1000); // a 32 ms frame sleeps 1 ms
    EXPECT_EQ(cGameEngine::FrameDelay(33000), 0);    // 33 ms or more: no sleep at all
    EXPECT_EQ(cGameEngine::FrameDelay(33500), 0);
    EXPECT_EQ(cGameEngine::FrameDelay(500000), 0);
}

TEST(Timer, StartsStopsPausesAndResumes)
{
    SDL_Init(SDL_INIT_TIMER);
    cTimer timer;
    timer.Pause(); // never started: nothing happens
    timer.Unpause();
    EXPECT_FALSE(timer.IsPaused());
    EXPECT_EQ(timer.GetTicks(), 0);

    SDL_Delay(50); // so that time since Start differs from time since SDL started
    const Uint32 started = SDL_GetTicks();
    timer.Start();
    SDL_Delay(30);
    timer.Pause();
    const int32_t frozen = timer.GetTicks();
    EXPECT_GE(frozen, 30);
    EXPECT_LE(frozen, static_cast<int32_t>(SDL_GetTicks() - started));
    SDL_Delay(40);
    EXPECT_EQ(timer.GetTicks(), frozen); // a paused reading does not move
    timer.Unpause();
    // The 40 ms spent paused are not counted, however slow the machine.
    EXPECT_LE(timer.GetTicks() + 40, static_cast<int32_t>(SDL_GetTicks() - started));
    timer.Pause();
    const Uint32 restarted = SDL_GetTicks();
    timer.Start(); // clears the pause and counts from 0 again
    EXPECT_FALSE(timer.IsPaused());
    EXPECT_LE(timer.GetTicks(), static_cast<int32_t>(SDL_GetTicks() - restarted));
    timer.Stop();
    EXPECT_EQ(timer.GetTicks(), 0);
    SDL_Quit();
}

TEST(Engine, StartsWithEverythingLoadedAndEndsEveryStateTopDown)
{
    cTrace trace;
    cHeadlessGame game;
    EXPECT_EQ(trace.Take(), "cGameEngine Init\ncDugme Init\n");
    EXPECT_EQ(game.engine.screen->format->BitsPerPixel, 32);
    EXPECT_EQ(game.engine.frameCount, 0u);
    game.Frames();
    cHeadlessGame::PushQuit();
    cHeadlessGame::PushKey(SDLK_ESCAPE);
    game.Frames(); // the quitting frame still runs to its end and is counted
    EXPECT_FALSE(game.engine.Running());
    EXPECT_EQ(game.engine.frameCount, 2u);
    trace.Take();
    game.Stop();
    EXPECT_EQ(trace.Take(), "cGlavniMeni cleanup\ncIntro Cleanup\ncGameEngine Cleanup\n");
}

TEST(Engine, RetiredObjectsLiveUntilTheFrameEventsAreHandled)
{
    struct cProbe
    {
        int* alive;
        explicit cProbe(int* alive) : alive(alive) { ++*alive; }
        ~cProbe() { --*alive; }
    };
    int alive = 0;
    cProbe* held = new cProbe(&alive);
    cProbe* replaced = new cProbe(&alive);
    cGameEngine engine;
    engine.Retire(new cProbe(&alive));
    engine.RetireHeld(held);
    engine.RetireHeld(replaced);
    replaced = nullptr; // given something else before the frame ends: left alone
    EXPECT_EQ(alive, 3);
    engine.FreeRetired();
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(held, nullptr);
}

SDL_Surface* NoVideoMode(int, int, int, Uint32)
{
    return nullptr;
}

TEST(Engine, AWindowThatCantBeOpenedIsReportedOnStandardError)
{
    cGameEngine engine;
    engine.setVideoMode = NoVideoMode;
    const cLoadError failure = engine.Init("Zagonetar", 640, 480, 0);
    EXPECT_EQ(failure.channel, cLoadError::STANDARD_ERROR);
    EXPECT_EQ(failure.message.rfind("Zagonetar: the 640x480 window could not be opened: ", 0), 0u);
}

// The quick copy for opaque pictures must draw exactly what SDL's blit draws.
TEST(DrawSurface, PicturesLandWhereSdlWouldPutThem)
{
    cHeadlessGame game;
    SDL_Surface* screen = game.engine.screen;
    const SDL_PixelFormat* f = screen->format;
    SDL_Surface* small =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 7, 5, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    SDL_Surface* expected =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    SDL_FillRect(small, nullptr, SDL_MapRGB(small->format, 10, 200, 30));
    for (Uint32 key : {0u, Uint32{SDL_SRCCOLORKEY}}) {
        SDL_SetColorKey(small, key, 0);
        for (const auto& [x, y] : {std::pair{0, 0}, {633, 475}, {636, 478}, {-3, 5}, {5, -2}}) {
            SDL_FillRect(screen, nullptr, 0);
            SDL_FillRect(expected, nullptr, 0);
            game.engine.DrawSurface(x, y, small, screen);
            SDL_Rect at{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
            SDL_BlitSurface(small, nullptr, expected, &at);
            EXPECT_EQ(memcmp(screen->pixels, expected->pixels, 640 * 480 * 4), 0) << x << "," << y;
        }
    }
    EXPECT_FALSE(cGameEngine::CopyOpaque(0, 0, small, screen)) << "a keyed picture goes to SDL";
    SDL_FreeSurface(expected);
    SDL_FreeSurface(small);
}

} // namespace
