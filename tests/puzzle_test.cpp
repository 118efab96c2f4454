// The puzzle screen played in-process with queued input: drags, verdicts, sounds, restarts, memory.
#include "cHeadlessGame.h"
#include "screens/cBalvan.h"
#include "screens/cIzbor.h"
#include "screens/cMesto.h"
#include "screens/cSerijacija.h"
#include "widgets/cTekst.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <functional>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

const int HEIGHTS[10] = {195, 175, 160, 144, 130, 112, 96, 80, 63, 48};
const uint32_t WHITE = 0xFFFFFF, LOG = 0x8B5A2B, FLOWER = 0xFF60A0, GROUND = 0x70B040; // stand-ins
const int EXIT_X = 576, EXIT_Y = 56, ICON_X = 270, ICON_Y = 60; // exit button, activity icon
const char* const CLEANUP = "cSerijacija Cleanup\n";
typedef std::vector<Mix_Chunk*> Chunks;

typedef std::function<void()> In; // input queued for a frame
In Button(bool down, int button, int x, int y)
{
    return [=] { cHeadlessGame::PushButton(down, button, x, y); };
}
const auto Press = [](int x, int y) { return Button(true, SDL_BUTTON_LEFT, x, y); };
const auto Right = [](int x, int y) { return Button(true, SDL_BUTTON_RIGHT, x, y); };
const auto Release = [](int x, int y) { return Button(false, SDL_BUTTON_LEFT, x, y); };
const auto Move = [](int x, int y) -> In { return [=] { cHeadlessGame::PushMotion(x, y); }; };
const auto Drop = [](int x, int y) -> In { return [=] { Move(x, y)(), Release(x, y)(); }; };
const auto Click = [](int x, int y) -> In { return [=] { cHeadlessGame::PushClick(x, y); }; };
const auto Key = [](SDLKey key) -> In { return [=] { cHeadlessGame::PushKey(key); }; };

// The chunks playing, in the order they started (a play takes the lowest free channel); stops them.
Chunks Played()
{
    Chunks chunks;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
        if (Mix_Playing(channel))
            chunks.push_back(Mix_GetChunk(channel));
    Mix_HaltChannel(-1);
    return chunks;
}

class Puzzle : public ::testing::Test
{
protected:
    void SetUp() override // a fixed seed: every test starts from the same arrangement
    {
        cTrace quiet;
        puzzle()->shuffleSeed = [] { return 7u; };
        game.reset(new cHeadlessGame);
        engine().ChangeState(puzzle());
        game->Frame();
    }
    void TearDown() override
    {
        EXPECT_EQ(leftovers, 0u) << "objects of a left screen outlived a frame";
        cTrace quiet;
        game.reset();
        puzzle()->shuffleSeed = cSerijacija::ClockSeconds;
    }

    // One frame over the input; returns the lifecycle lines it printed.
    std::string Frame(std::initializer_list<In> input = {})
    {
        cTrace trace;
        for (const In& push : input)
            push();
        game->Frame();
        leftovers += engine().RetiredCount(); // asserted at the end, not while output is captured
        return trace.Take();
    }

    cGameEngine& engine() { return game->engine; }
    static cSerijacija* puzzle() { return cSerijacija::Instance(); }
    cBalvan* Log(int i) { return engine().logs.at(static_cast<size_t>(i)); }
    SDL_Rect RectOf(int i) { return Log(i)->GetRect(); }
    std::pair<int, int> At(int i) { return {RectOf(i).x, RectOf(i).y}; }

    // The pointer on the middle of log i, and where it lets log i fall squarely into slot k.
    int GrabX(int i) { return RectOf(i).x + 14; }
    int GrabY(int i) { return RectOf(i).y + RectOf(i).h / 2; }
    static int AimX(int k) { return 40 * k + 24; }
    static int AimY(int i) { return 378 - HEIGHTS[i] + HEIGHTS[i] / 2; }
    void DragTo(int i, int k) { Frame({Press(GrabX(i), GrabY(i)), Drop(AimX(k), AimY(i))}); }
    void Fill(bool right, int count = 10) // the right order, or with the two tallest exchanged
    {
        for (int i = 0; i < count; ++i)
            DragTo(i, right || i > 1 ? 9 - i : 8 + i);
    }

    void ExpectFreshPuzzle()
    {
        ASSERT_TRUE(engine().logs.size() == 10 && engine().slots.size() == 10);
        EXPECT_FALSE(engine().placedCount || engine().puzzleDone || engine().dragging);
        EXPECT_EQ(engine().draggedLog, nullptr);
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(RectOf(i).y == 48 && !engine().slots[i]->IsOccupied()) << "log " << i;
    }

    std::unique_ptr<cHeadlessGame> game;
    size_t leftovers = 0;
};

// Esc mid-drag: the dialog takes the release; back in the puzzle the log follows to a left release.
TEST_F(Puzzle, ALogFollowsThePointerEvenThroughTheDialogAndDropsInTheFrameItIsLetGo)
{
    Frame({Press(GrabX(9), GrabY(9)), Move(300, 300)}); // below y = 244, where no log starts
    EXPECT_EQ(At(9), std::pair(300 - 14, 300 - 24));
    EXPECT_EQ(game->Pixel(300 - 14, 300 - 24), LOG);
    EXPECT_EQ(game->Pixel(300 - 15, 300 - 24), GROUND);
    Frame({Move(EXIT_X, EXIT_Y)});
    EXPECT_EQ(game->Pixel(EXIT_X, EXIT_Y), LOG) << "drawn over the exit button";
    Frame({Move(3, 1)}); // off screen: the blit is clipped, not the size the drop rule reads
    EXPECT_TRUE(RectOf(9).x == 3 - 14 && RectOf(9).w == 29 && RectOf(9).h == 48);
    EXPECT_EQ(Frame({Key(SDLK_ESCAPE)}), "cSerijacija Pause\ncGlavniMeni Init\n");
    EXPECT_EQ(Frame({Release(3, 1), Move(320, 260)}), "");
    EXPECT_EQ(Frame({Key(SDLK_RETURN)}), "cGlavniMeni cleanup\ncSerijacija Resume\n"); // "no"
    Frame({Move(AimX(0), AimY(9))});
    EXPECT_EQ(At(9), std::pair(AimX(0) - 14, AimY(9) - 24)) << "no button held, and no drop";
    Frame({Release(AimX(0), AimY(9))});
    EXPECT_TRUE(Log(9)->IsPlaced() && !engine().dragging && !engine().draggedLog);
    EXPECT_EQ(At(9), std::pair(16, 373 - 48));
    EXPECT_EQ(game->Pixel(30, 376), FLOWER) << "the flower stays visible below the log";
}

// A log let go over a taken slot waits, and drops once the slot is free and no drag is on.
TEST_F(Puzzle, ARightPressSendsAPlacedLogHomeAndTheWaitingLogDropsWhenADragEnds)
{
    const auto home5 = At(5);
    DragTo(5, 4);
    DragTo(8, 4);
    Frame({Click(600, 300)});                  // a press on empty ground sets dragging
    Frame({Right(GrabX(5), RectOf(5).y + 5)}); // above the waiting log
    EXPECT_EQ(At(5), home5);
    EXPECT_FALSE(Log(5)->IsPlaced() || engine().slots[4]->IsOccupied() || engine().placedCount);
    EXPECT_FALSE(Log(8)->IsPlaced()) << "dragging is still set";

    // A right press on a log that is not placed changes nothing, and a drag goes on through it.
    const auto waiting = At(8);
    Frame({Press(GrabX(6), GrabY(6)), Move(300, 120), Right(waiting.first + 2, waiting.second + 10),
           Move(320, 130)});
    EXPECT_EQ(At(8), waiting);
    EXPECT_EQ(At(6), std::pair(320 - 14, 130 - 48));
    Frame({Release(320, 130)});
    EXPECT_TRUE(Log(8)->IsPlaced() && Log(8)->GetSlot() == 4);
}

// Space starts a new puzzle from the same seed, which also clears the puzzle's own full-screen
// flag; Space twice, or the exit button and then Space, set up puzzles amid one frame's events.
TEST_F(Puzzle, NewPuzzlesComeFromTheSeedAndKeepNoReferenceToTheOldLogs)
{
    std::vector<std::pair<int, int>> first;
    for (int i = 0; i < 10; ++i)
        first.push_back(At(i));
    Frame({Key(SDLK_F11)});
    EXPECT_EQ(Frame({Key(SDLK_SPACE)}), CLEANUP);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(At(i), first[static_cast<size_t>(i)]) << "log " << i;
    Frame({Key(SDLK_F11)});
    EXPECT_TRUE(engine().screen->flags & SDL_FULLSCREEN) << "the new puzzle thinks it is windowed";

    DragTo(2, 3);
    Frame({Press(GrabX(6), GrabY(6))});
    ASSERT_EQ(engine().draggedLog, Log(6));
    EXPECT_EQ(Frame({Key(SDLK_SPACE), Key(SDLK_SPACE)}), std::string(CLEANUP) + CLEANUP);
    ExpectFreshPuzzle();
    EXPECT_EQ(Frame({Click(EXIT_X, EXIT_Y), Move(GrabX(4), 200), Right(GrabX(4), GrabY(4)),
                     Key(SDLK_SPACE)}), // the puzzle's event loop still runs
              std::string(CLEANUP) + "cIzbor Cleanup\n");
    ExpectFreshPuzzle();
}

// Once over: a verdict letter on each even frame from that of the tenth drop (odd for Bravo, even
// for Greska), the hint while bit 0x400 of the puzzle's timer is set, and logs at rest.
TEST_F(Puzzle, OnceOverTheVerdictIsTypedTheHintBlinksAndOnlyReturnOrTheRightButtonRestart)
{
    auto hint = [&](bool lit) { // drawn in a frame with the timer held in the wanted phase?
        for (int i = 0; i < 400 && bool(puzzle()->timer.GetTicks() & 0x400) != lit; ++i)
            SDL_Delay(10);
        puzzle()->timer.Pause();
        Frame();
        puzzle()->timer.Unpause();
        return game->Pixel(122, 330) == WHITE && game->Pixel(200, 330) == WHITE; // P, d of "desni"
    };
    EXPECT_FALSE(hint(true)) << "not before the puzzle is over";
    for (const bool right : {true, false}) {
        const std::string word = right ? "Bravo!" : "Greska!";
        const int width = right ? 58 : 72; // the stand-in glyphs are solid white
        Fill(right, 9);
        if (engine().frameCount % 2 == (right ? 0 : 1))
            Frame();
        DragTo(9, 0);
        size_t even = right ? 0 : 1;
        for (int frame = 0; frame < 16; ++frame) {
            ASSERT_EQ(puzzle()->verdictText->Revealed(), word.substr(0, even)) << "frame " << frame;
            even += engine().frameCount % 2 == 0;
            Frame();
        }
        EXPECT_TRUE(game->Pixel(180 + width - 1, 218) == WHITE &&
                    game->Pixel(180 + width, 205) != WHITE);
        EXPECT_TRUE(hint(true));
        EXPECT_EQ(game->Pixel(121, 340), WHITE) << "the hint is drawn over the logs";
        EXPECT_FALSE(hint(false));
        EXPECT_EQ(Frame({Click(600, 300), Key(SDLK_SPACE)}), "");
        EXPECT_FALSE(engine().dragging) << "a left press on empty ground is not handled";
        EXPECT_EQ(Frame({right ? Key(SDLK_RETURN) : Right(620, 460)}), CLEANUP);
        ExpectFreshPuzzle();
    }
    EXPECT_EQ(Frame({Key(SDLK_RETURN)}), "") << "while playing, Return does nothing";
    Fill(true);
    EXPECT_EQ(Frame({Key(SDLK_ESCAPE)}), "cSerijacija Pause\ncGlavniMeni Init\n");
    EXPECT_EQ(Frame({Key(SDLK_RETURN)}), "cGlavniMeni cleanup\ncSerijacija Resume\n");
    EXPECT_TRUE(engine().puzzleDone) << "the dialog leaves the finished puzzle as it was";
    EXPECT_EQ(Frame({Click(EXIT_X, EXIT_Y)}), CLEANUP);
}

// Each block holds the audio thread off once any fade-out has ended (a fade-in would wait on it).
TEST_F(Puzzle, SoundsPlayAtDropsVerdictsAndClicks)
{
    if (!Mix_QuerySpec(nullptr, nullptr, nullptr))
        GTEST_SKIP() << "the audio device did not open: the game is silent here";
    const cSoundSet& s = engine().sounds;
    auto fading = [&](Mix_Fading how) { return !s.aladin || Mix_FadingMusic() == how; };
    auto block = [&](const std::function<void()>& body) {
        for (int i = 0; i < 100 && Mix_PlayingMusic(); ++i)
            SDL_Delay(50);
        SDL_PauseAudio(1), SDL_LockAudio(), Mix_HaltChannel(-1);
        body();
        Mix_HaltChannel(-1), SDL_UnlockAudio(), SDL_PauseAudio(0);
    };
    Frame({Click(EXIT_X, EXIT_Y)});
    block([&] {
        Frame({Click(ICON_X, ICON_Y)});
        EXPECT_EQ(Played(), Chunks{s.klik});
        EXPECT_TRUE(fading(MIX_FADING_IN));
        Frame({Click(EXIT_X, EXIT_Y)});
        EXPECT_EQ(Played(), Chunks{s.klik});
        EXPECT_TRUE(fading(MIX_FADING_OUT)) << "leaving a puzzle fades its music out";
    });
    for (const bool right : {true, false})
        block([&] { // a new puzzle through the icon, then through Return
            Frame({right ? Click(ICON_X, ICON_Y) : Key(SDLK_RETURN)});
            EXPECT_EQ(Played(), right ? Chunks{s.klik} : Chunks{});
            EXPECT_TRUE(fading(MIX_FADING_IN));
            Fill(right, 9);
            Played();
            DragTo(9, 0);
            EXPECT_EQ(Played(), (Chunks{s.ubac, right ? s.aplauz : s.ponovo}));
            EXPECT_TRUE(fading(MIX_FADING_OUT));
        });
}

TEST_F(Puzzle, AThousandPuzzlesLeaveNothingBehind)
{
    _Mix_Music* music = engine().sounds.aladin; // so that no restart waits on a fade-out
    engine().sounds.aladin = nullptr;
    Mix_HaltMusic();
    auto round = [&] { // Space, then out through the exit button and back in through the icon
        return Frame({Key(SDLK_SPACE)}) == CLEANUP && Frame({Click(EXIT_X, EXIT_Y)}) == CLEANUP &&
               Frame({Click(ICON_X, ICON_Y)}) == "cIzbor Cleanup\n";
    };
    for (int i = 0; i < 20; ++i)
        round();
    malloc_trim(0);
    const size_t heap = mallinfo2().uordblks; // 0 under AddressSanitizer, whose leak checker counts
    int rounds = 0;
    while (rounds < 1000 && round())
        ++rounds;
    EXPECT_EQ(rounds, 1000);
    // A puzzle makes two copies of a 150 KB glyph sheet and twenty small objects.
    EXPECT_LT(mallinfo2().uordblks, heap + 64 * 1024) << "heap in use at the start: " << heap;
    engine().sounds.aladin = music;
}

} // namespace
