// The puzzle screen played in-process with queued input: drags, the verdict, sounds, restarts, memory.
#include "cHeadlessGame.h"
#include "screens/cBalvan.h"
#include "screens/cGlavniMeni.h"
#include "screens/cIzbor.h"
#include "screens/cMesto.h"
#include "screens/cSerijacija.h"
#include "widgets/cTekst.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace {

const int HEIGHTS[10] = {195, 175, 160, 144, 130, 112, 96, 80, 63, 48};
const uint32_t WHITE = 0xFFFFFF;    // every glyph of the stand-in font
const uint32_t LOG = 0x8B5A2B;      // the stand-in log sheet
const uint32_t FLOWER = 0xFF60A0;   // the stand-in "cvet.gif"
const uint32_t GROUND = 0x70B040;   // the stand-in puzzle background
const int EXIT_X = 576, EXIT_Y = 56; // inside the exit button
const int ICON_X = 270, ICON_Y = 60; // inside the activity icon

// Standard output captured while `what` runs: the lifecycle lines it printed. The capture
// ends before any assertion, so failures still reach the test log.
std::string Traced(const std::function<void()>& what)
{
    cTrace trace;
    what();
    return trace.Take();
}

// The mixer's channels, read while the audio thread is held off so nothing a frame starts
// can finish before it is looked at. Music fades are not waited for inside: anything that
// would start the music while it fades out happens outside a Hold.
class cMixer
{
public:
    static bool Open()
    {
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        return Mix_QuerySpec(&frequency, &format, &channels) != 0;
    }

    class cHold
    {
    public:
        cHold()
        {
            SDL_PauseAudio(1);
            SDL_LockAudio();
            Mix_HaltChannel(-1);
        }
        ~cHold()
        {
            Mix_HaltChannel(-1);
            SDL_UnlockAudio();
            SDL_PauseAudio(0);
        }
    };

    // The chunks playing, by channel: plays take the lowest free channel, so this is
    // also the order in which they started.
    static std::vector<Mix_Chunk*> Playing()
    {
        std::vector<Mix_Chunk*> chunks;
        for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
            if (Mix_Playing(channel))
                chunks.push_back(Mix_GetChunk(channel));
        return chunks;
    }

    static void Clear() { Mix_HaltChannel(-1); }

    // Lets the music's fade-out run to its end, so the next fade-in starts at once.
    static void WaitForMusicToStop()
    {
        for (int i = 0; i < 100 && Mix_PlayingMusic(); ++i)
            SDL_Delay(50);
    }
};

class Puzzle : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.reset(new cHeadlessGame);
        Traced([&] { Enter(); });
    }

    void TearDown() override
    {
        Traced([&] { game.reset(); });
        EXPECT_EQ(framesLeavingRetired, 0) << "objects of a left screen outlived a frame";
    }

    void Enter()
    {
        engine().ChangeState(cSerijacija::Instance());
        game->Frame();
    }

    cGameEngine& engine() { return game->engine; }
    cSerijacija* puzzle() { return cSerijacija::Instance(); }
    cBalvan* Log(int i) { return engine().logs.at(static_cast<size_t>(i)); }
    cMesto* Slot(int k) { return engine().slots.at(static_cast<size_t>(k)); }
    SDL_Rect RectOf(int i) { return Log(i)->GetRect(); }

    // Counted rather than asserted: frames often run while standard output is captured.
    void Frame()
    {
        game->Frame();
        framesLeavingRetired += engine().RetiredCount() != 0;
    }

    // Pointer positions: the middle of log i as it stands, and where to let log i go so
    // that it falls squarely into slot k (the log is centred on the pointer).
    int GrabX(int i) { return RectOf(i).x + 14; }
    int GrabY(int i) { return RectOf(i).y + RectOf(i).h / 2; }
    static int AimX(int k) { return 40 * k + 10 + 14; }
    static int AimY(int i) { return 377 - HEIGHTS[i] + HEIGHTS[i] / 2 + 1; }

    // One frame: press on log i, carry it over slot k, let go.
    void DragTo(int i, int k)
    {
        cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, GrabX(i), GrabY(i));
        cHeadlessGame::PushMotion(AimX(k), AimY(i));
        cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, AimX(k), AimY(i));
        Frame();
    }

    // Slot of each log for a full row: the right one, or with the two tallest exchanged.
    static int RightSlot(int i) { return 9 - i; }
    static int WrongSlot(int i) { return i == 0 ? 8 : i == 1 ? 9 : 9 - i; }

    void Fill(bool right, int count = 10)
    {
        for (int i = 0; i < count; ++i)
            DragTo(i, right ? RightSlot(i) : WrongSlot(i));
    }

    std::vector<SDL_Rect> Rects()
    {
        std::vector<SDL_Rect> rects;
        for (cBalvan* log : engine().logs)
            rects.push_back(log->GetRect());
        return rects;
    }

    void ExpectFreshPuzzle()
    {
        ASSERT_EQ(engine().logs.size(), 10u);
        ASSERT_EQ(engine().slots.size(), 10u);
        EXPECT_EQ(engine().placedCount, 0);
        EXPECT_FALSE(engine().puzzleDone);
        EXPECT_FALSE(engine().dragging);
        EXPECT_EQ(engine().draggedLog, nullptr);
        for (int i = 0; i < 10; ++i) {
            EXPECT_FALSE(Log(i)->IsPlaced());
            EXPECT_EQ(RectOf(i).y, 48);
            EXPECT_FALSE(Slot(i)->IsOccupied());
        }
        EXPECT_EQ(puzzle()->verdictText->Revealed(), "");
    }

    static bool SameRects(const std::vector<SDL_Rect>& a, const std::vector<SDL_Rect>& b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const SDL_Rect& p, const SDL_Rect& q) {
                              return p.x == q.x && p.y == q.y && p.w == q.w && p.h == q.h;
                          });
    }

    std::unique_ptr<cHeadlessGame> game;
    int framesLeavingRetired = 0;
};

TEST_F(Puzzle, StartsWithTenShuffledLogsOverTenFreeFlowers)
{
    ExpectFreshPuzzle();
    std::vector<int> columns;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(RectOf(i).w, 29);
        EXPECT_EQ(RectOf(i).h, HEIGHTS[i]);
        EXPECT_EQ(Log(i)->GetTarget(), 9 - i);
        columns.push_back(RectOf(i).x);
        EXPECT_EQ(Slot(i)->GetX(), 23 + 40 * i);
        EXPECT_EQ(Slot(i)->GetY(), 376);
        EXPECT_EQ(game->Pixel(23 + 40 * i + 10, 386), FLOWER);
        EXPECT_EQ(game->Pixel(RectOf(i).x + 14, 48 + HEIGHTS[i] - 1), LOG);
        EXPECT_EQ(game->Pixel(RectOf(i).x + 14, 48 + HEIGHTS[i]), GROUND);
    }
    std::sort(columns.begin(), columns.end());
    EXPECT_EQ(columns, (std::vector<int>{30, 80, 130, 180, 230, 280, 330, 380, 430, 480}));
}

TEST_F(Puzzle, NewPuzzlesWithinOneSecondStandAlike)
{
    // Seeded with whole seconds; a pair that straddles a second is simply tried again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const time_t before = time(nullptr);
        const std::vector<SDL_Rect> first = Rects();
        Traced([&] {
            cHeadlessGame::PushKey(SDLK_SPACE);
            Frame();
        });
        const std::vector<SDL_Rect> second = Rects();
        if (time(nullptr) != before)
            continue;
        EXPECT_TRUE(SameRects(first, second));
        return;
    }
    ADD_FAILURE() << "no two puzzles were set up within one second";
}

TEST_F(Puzzle, ALogFollowsThePointerAndDropsInTheFrameItIsLetGo)
{
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, GrabX(9), GrabY(9));
    cHeadlessGame::PushMotion(300, 300); // below every log at its start
    Frame();
    EXPECT_TRUE(engine().dragging);
    EXPECT_EQ(engine().draggedLog, Log(9));
    EXPECT_EQ(RectOf(9).x, 300 - 14);
    EXPECT_EQ(RectOf(9).y, 300 - 24);
    EXPECT_EQ(game->Pixel(300, 300), LOG);
    EXPECT_EQ(game->Pixel(300 - 14, 300 - 24), LOG);
    EXPECT_EQ(game->Pixel(300 - 15, 300 - 24), GROUND);

    // Held over slot 0: no drop while the button is down.
    cHeadlessGame::PushMotion(AimX(0), AimY(9));
    Frame();
    EXPECT_FALSE(Log(9)->IsPlaced());
    EXPECT_EQ(engine().placedCount, 0);

    // Over the exit button the log is drawn on top; half off the screen, its blit is
    // clipped but its own size, which the drop rule reads, stays whole.
    cHeadlessGame::PushMotion(EXIT_X, EXIT_Y);
    Frame();
    EXPECT_EQ(game->Pixel(EXIT_X, EXIT_Y), LOG);
    cHeadlessGame::PushMotion(3, 1);
    Frame();
    EXPECT_EQ(RectOf(9).x, 3 - 14);
    EXPECT_EQ(RectOf(9).y, 1 - 24);
    EXPECT_EQ(RectOf(9).w, 29);
    EXPECT_EQ(RectOf(9).h, 48);

    cHeadlessGame::PushMotion(AimX(0), AimY(9));
    cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, AimX(0), AimY(9));
    Frame();
    EXPECT_FALSE(engine().dragging);
    EXPECT_EQ(engine().draggedLog, nullptr);
    EXPECT_TRUE(Log(9)->IsPlaced());
    EXPECT_TRUE(Slot(0)->IsOccupied());
    EXPECT_EQ(engine().placedCount, 1);
    EXPECT_EQ(RectOf(9).x, 16);
    EXPECT_EQ(RectOf(9).y, 373 - 48);
    // The flower stays visible, 3 pixels below the log's lower edge.
    EXPECT_EQ(game->Pixel(30, 372), LOG);
    EXPECT_EQ(game->Pixel(30, 373), GROUND);
    EXPECT_EQ(game->Pixel(30, 376), FLOWER);
}

TEST_F(Puzzle, ARightPressSendsAPlacedLogHomeAndTheWaitingLogDrops)
{
    const SDL_Rect home5 = RectOf(5);
    DragTo(5, 4);
    ASSERT_TRUE(Log(5)->IsPlaced());
    DragTo(8, 4);
    EXPECT_FALSE(Log(8)->IsPlaced()) << "slot 4 is taken";
    const SDL_Rect waiting = RectOf(8);

    // A right press on a log that is not placed changes nothing (the point is left of
    // the placed log, which the waiting one partly covers).
    ASSERT_LT(waiting.x + 2, RectOf(5).x);
    cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, waiting.x + 2, waiting.y + 10);
    Frame();
    EXPECT_EQ(RectOf(8).x, waiting.x);
    EXPECT_EQ(engine().placedCount, 1);

    // On the placed log, above the waiting one: home, and the waiting log drops at once.
    cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, GrabX(5), RectOf(5).y + 5);
    cHeadlessGame::PushButton(false, SDL_BUTTON_RIGHT, GrabX(5), RectOf(5).y + 5);
    Frame();
    EXPECT_FALSE(Log(5)->IsPlaced());
    EXPECT_EQ(RectOf(5).x, home5.x);
    EXPECT_EQ(RectOf(5).y, 48);
    EXPECT_TRUE(Log(8)->IsPlaced());
    EXPECT_EQ(Log(8)->GetSlot(), 4);
    EXPECT_EQ(engine().placedCount, 1);
}

TEST_F(Puzzle, ARightPressWhileDraggingSendsThePlacedLogHomeAndTheDragGoesOn)
{
    DragTo(2, 7);
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, GrabX(6), GrabY(6));
    cHeadlessGame::PushMotion(300, 120);
    cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, GrabX(2), GrabY(2));
    cHeadlessGame::PushMotion(320, 130);
    Frame();
    EXPECT_FALSE(Log(2)->IsPlaced());
    EXPECT_FALSE(Slot(7)->IsOccupied());
    EXPECT_EQ(RectOf(2).y, 48);
    EXPECT_EQ(engine().placedCount, 0);
    EXPECT_EQ(engine().draggedLog, Log(6));
    EXPECT_EQ(RectOf(6).x, 320 - 14);
    EXPECT_EQ(RectOf(6).y, 130 - 48);
}

TEST_F(Puzzle, F11TogglesTheScreensOwnFlagWhichEveryNewPuzzleClears)
{
    cHeadlessGame::PushKey(SDLK_F11);
    Frame();
    EXPECT_TRUE(puzzle()->fullscreen);
    EXPECT_TRUE(engine().screen->flags & SDL_FULLSCREEN);
    EXPECT_FALSE(engine().fullscreen) << "the engine's flag is not the puzzle's";
    Traced([&] {
        cHeadlessGame::PushKey(SDLK_SPACE);
        Frame();
    });
    EXPECT_FALSE(puzzle()->fullscreen) << "a new puzzle starts believing it is in a window";
    cHeadlessGame::PushKey(SDLK_F11);
    Frame();
    EXPECT_TRUE(engine().screen->flags & SDL_FULLSCREEN) << "full screen asked for again";
    cHeadlessGame::PushKey(SDLK_F11);
    Frame();
    EXPECT_FALSE(engine().screen->flags & SDL_FULLSCREEN);
    EXPECT_EQ(game->Pixel(10, 470), GROUND) << "the new surface is drawn on";
}

TEST_F(Puzzle, APressOnEmptyGroundLeavesDraggingSetUntilADragEnds)
{
    const std::vector<SDL_Rect> before = Rects();
    cHeadlessGame::PushClick(600, 300);
    cHeadlessGame::PushMotion(200, 200);
    Frame();
    EXPECT_TRUE(engine().dragging);
    EXPECT_EQ(engine().draggedLog, nullptr);
    EXPECT_TRUE(SameRects(Rects(), before)) << "nothing is grabbed, so nothing moves";

    // Nothing drops meanwhile, not even a log left squarely over a free flower.
    Log(9)->SetPosition(AimX(0) - 14, AimY(9) - 24);
    Frame();
    EXPECT_FALSE(Log(9)->IsPlaced());
    cHeadlessGame::PushClick(GrabX(3), GrabY(3));
    Frame();
    EXPECT_FALSE(engine().dragging);
    EXPECT_TRUE(Log(9)->IsPlaced());
}

TEST_F(Puzzle, EscWhileDraggingTheMenuTakesTheReleaseAndTheLogFollowsAfter)
{
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, GrabX(9), GrabY(9));
    cHeadlessGame::PushMotion(300, 250);
    Frame();
    std::string trace = Traced([&] {
        cHeadlessGame::PushKey(SDLK_ESCAPE);
        Frame();
    });
    EXPECT_EQ(trace, "cSerijacija Pause\ncGlavniMeni Init\n");
    ASSERT_EQ(engine().states.back(), cGlavniMeni::Instance());

    trace = Traced([&] {
        cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, 300, 250);
        cHeadlessGame::PushMotion(320, 260);
        Frame();
    });
    EXPECT_EQ(trace, "");
    EXPECT_EQ(RectOf(9).x, 286);

    trace = Traced([&] {
        cHeadlessGame::PushKey(SDLK_RETURN); // the dialog opens on "no"
        Frame();
    });
    EXPECT_EQ(trace, "cGlavniMeni cleanup\ncSerijacija Resume\n");
    ASSERT_EQ(engine().states.back(), puzzle());
    EXPECT_TRUE(engine().dragging);
    EXPECT_EQ(engine().draggedLog, Log(9));

    // No button held, and still the log follows until the next left release.
    cHeadlessGame::PushMotion(350, 200);
    Frame();
    EXPECT_EQ(RectOf(9).x, 350 - 14);
    EXPECT_EQ(RectOf(9).y, 200 - 24);
    cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, 350, 200);
    cHeadlessGame::PushMotion(10, 10);
    Frame();
    EXPECT_FALSE(engine().dragging);
    EXPECT_EQ(RectOf(9).x, 350 - 14);
}

TEST_F(Puzzle, SpaceTwiceInOneFrameSetsUpTwoPuzzlesAndForgetsTheOldLogs)
{
    DragTo(2, 3);
    // A drag under way: the grabbed log is one the new puzzles must not keep.
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, GrabX(6), GrabY(6));
    Frame();
    ASSERT_EQ(engine().draggedLog, Log(6));

    const std::string trace = Traced([&] {
        cHeadlessGame::PushKey(SDLK_SPACE);
        cHeadlessGame::PushKey(SDLK_SPACE);
        Frame();
    });
    EXPECT_EQ(trace, "cSerijacija Cleanup\ncSerijacija Cleanup\n");
    ASSERT_EQ(engine().states.size(), 1u);
    EXPECT_EQ(engine().states.back(), puzzle());
    ExpectFreshPuzzle();
    EXPECT_EQ(engine().lastLog, Log(9));

    // Motion after the restart moves nothing; a new press grabs one of the new logs.
    const std::vector<SDL_Rect> before = Rects();
    cHeadlessGame::PushMotion(300, 300);
    Frame();
    EXPECT_TRUE(SameRects(Rects(), before));
    cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, 44, 60); // every column holds a log
    Frame();
    EXPECT_NE(std::find(engine().logs.begin(), engine().logs.end(), engine().draggedLog),
              engine().logs.end());
}

TEST_F(Puzzle, EventsAfterTheExitButtonInTheSameFrameMeetNoOldLogs)
{
    const std::string trace = Traced([&] {
        cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, GrabX(4), GrabY(4));
        cHeadlessGame::PushClick(EXIT_X, EXIT_Y);
        cHeadlessGame::PushMotion(GrabX(4), 200);
        cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, GrabX(4), GrabY(4));
        cHeadlessGame::PushKey(SDLK_SPACE); // the puzzle's loop still runs: a new puzzle
        Frame();
    });
    EXPECT_EQ(trace, "cSerijacija Cleanup\ncIzbor Cleanup\n");
    ASSERT_EQ(engine().states.back(), puzzle());
    ExpectFreshPuzzle();

    Traced([&] {
        cHeadlessGame::PushClick(EXIT_X, EXIT_Y);
        Frame();
    });
    EXPECT_EQ(engine().states.back(), cIzbor::Instance());
    EXPECT_TRUE(engine().logs.empty());
    EXPECT_TRUE(engine().slots.empty());
    EXPECT_EQ(engine().draggedLog, nullptr);
    EXPECT_EQ(puzzle()->exitButton, nullptr);
}

TEST_F(Puzzle, OnceOverLogsRestAndOnlyReturnTheRightButtonExitAndEscAnswer)
{
    Fill(true);
    ASSERT_TRUE(engine().puzzleDone);
    EXPECT_EQ(engine().placedCount, 10);
    const std::vector<SDL_Rect> done = Rects();
    cBalvan* const first = Log(0);

    // Left drags, the middle button and Space do nothing.
    std::string trace = Traced([&] {
        cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, GrabX(7), GrabY(7));
        cHeadlessGame::PushMotion(300, 100);
        cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, 300, 100);
        cHeadlessGame::PushButton(true, SDL_BUTTON_MIDDLE, 300, 100);
        cHeadlessGame::PushKey(SDLK_SPACE);
        Frame();
    });
    EXPECT_EQ(trace, "");
    EXPECT_TRUE(engine().puzzleDone);
    EXPECT_TRUE(SameRects(Rects(), done));
    EXPECT_FALSE(engine().dragging);
    EXPECT_EQ(Log(0), first);

    trace = Traced([&] {
        cHeadlessGame::PushKey(SDLK_RETURN);
        Frame();
    });
    EXPECT_EQ(trace, "cSerijacija Cleanup\n");
    ExpectFreshPuzzle();

    // While playing, Return does nothing.
    trace = Traced([&] {
        cHeadlessGame::PushKey(SDLK_RETURN);
        Frame();
    });
    EXPECT_EQ(trace, "");

    Fill(false);
    ASSERT_TRUE(engine().puzzleDone);
    trace = Traced([&] {
        cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, 620, 460); // anywhere
        Frame();
    });
    EXPECT_EQ(trace, "cSerijacija Cleanup\n");
    ExpectFreshPuzzle();

    Fill(true);
    trace = Traced([&] {
        cHeadlessGame::PushKey(SDLK_ESCAPE);
        Frame();
    });
    EXPECT_EQ(trace, "cSerijacija Pause\ncGlavniMeni Init\n");
    trace = Traced([&] {
        cHeadlessGame::PushKey(SDLK_RETURN);
        Frame();
    });
    EXPECT_EQ(trace, "cGlavniMeni cleanup\ncSerijacija Resume\n");
    EXPECT_TRUE(engine().puzzleDone) << "the menu leaves the finished puzzle as it was";

    trace = Traced([&] {
        cHeadlessGame::PushMotion(EXIT_X, EXIT_Y);
        cHeadlessGame::PushClick(EXIT_X, EXIT_Y);
        Frame();
    });
    EXPECT_EQ(trace, "cSerijacija Cleanup\n");
    EXPECT_EQ(engine().states.back(), cIzbor::Instance());

    // Back through the icon: a fresh puzzle, and entering prints nothing of the puzzle's.
    trace = Traced([&] {
        cHeadlessGame::PushMotion(ICON_X, ICON_Y);
        cHeadlessGame::PushClick(ICON_X, ICON_Y);
        Frame();
    });
    EXPECT_EQ(trace, "cIzbor Cleanup\n");
    ASSERT_EQ(engine().states.back(), puzzle());
    ExpectFreshPuzzle();
}

// The verdict gains one letter on each frame whose count is even, from the frame of the
// tenth drop; the glyphs of the stand-in font are solid white.
void ExpectTyped(cHeadlessGame& game, const std::string& word, int width)
{
    const cTekst* verdict = cSerijacija::Instance()->verdictText;
    size_t evenFrames = verdict->Revealed().size();
    for (int frame = 0; frame < 30 && verdict->Revealed() != word; ++frame) {
        evenFrames += game.engine.frameCount % 2 == 0;
        game.Frame();
        ASSERT_EQ(verdict->Revealed(), word.substr(0, evenFrames));
    }
    EXPECT_EQ(evenFrames, word.size());
    game.Frame();
    game.Frame();
    EXPECT_EQ(verdict->Revealed(), word);
    EXPECT_EQ(game.Pixel(180, 200), WHITE);
    EXPECT_EQ(game.Pixel(180 + width - 1, 218), WHITE);
    EXPECT_NE(game.Pixel(180 + width, 205), WHITE);
    EXPECT_NE(game.Pixel(179, 205), WHITE);
    EXPECT_NE(game.Pixel(200, 219), WHITE);
}

TEST_F(Puzzle, BravoIsTypedOnSixEvenFrames)
{
    Fill(true, 9);
    EXPECT_EQ(game->Pixel(180, 200), GROUND);
    EXPECT_EQ(puzzle()->verdictText->Revealed(), "");
    if (engine().frameCount % 2 == 0) // let the tenth drop fall on an odd frame
        Frame();
    DragTo(9, 0);
    ASSERT_TRUE(engine().puzzleDone);
    EXPECT_TRUE(cSerijacija::IsOrderCorrect(engine().logs));
    EXPECT_EQ(puzzle()->verdictText->Revealed(), "");
    ExpectTyped(*game, "Bravo!", 58);
}

TEST_F(Puzzle, GreskaIsTypedOnSevenEvenFrames)
{
    Fill(false, 9);
    if (engine().frameCount % 2 == 1) // and this time on an even one
        Frame();
    DragTo(9, 0);
    ASSERT_TRUE(engine().puzzleDone);
    EXPECT_FALSE(cSerijacija::IsOrderCorrect(engine().logs));
    EXPECT_EQ(puzzle()->verdictText->Revealed(), "G");
    ExpectTyped(*game, "Greska!", 72);
}

// The hint is drawn while bit 0x400 of the puzzle's timer is set, and only once the
// puzzle is over. The timer is frozen for each frame that is looked at.
TEST_F(Puzzle, TheHintBlinksWithBitTenOfThePuzzleTimer)
{
    cTimer& timer = puzzle()->timer;
    auto hintShown = [&] {
        const bool p = game->Pixel(122, 330) == WHITE;  // P
        const bool d = game->Pixel(200, 330) == WHITE;  // d of "desni"
        const bool a = game->Pixel(360, 330) == WHITE;  // the last a
        EXPECT_EQ(p, d);
        EXPECT_EQ(d, a);
        EXPECT_NE(game->Pixel(190, 330), WHITE); // the first space
        return p && d && a;
    };
    // Waits for the timer to enter the wanted phase, freezes it there, draws one frame.
    auto frameInPhase = [&](bool lit) {
        for (int i = 0; i < 400 && bool(timer.GetTicks() & 0x400) != lit; ++i)
            SDL_Delay(10);
        timer.Pause();
        const int32_t ticks = timer.GetTicks();
        Frame();
        timer.Unpause();
        return ticks;
    };

    int32_t ticks = frameInPhase(true);
    EXPECT_FALSE(hintShown()) << "not before the puzzle is over (timer " << ticks << ")";

    Fill(true);
    ASSERT_TRUE(engine().puzzleDone);
    bool seen[2] = {false, false};
    for (int round = 0; round < 2; ++round) {
        for (bool lit : {true, false}) {
            ticks = frameInPhase(lit);
            const bool shown = hintShown();
            EXPECT_EQ(shown, bool(ticks & 0x400)) << "timer " << ticks;
            if (shown) {
                EXPECT_EQ(game->Pixel(121, 340), WHITE) << "drawn over the logs";
            }
            seen[bool(ticks & 0x400)] = true;
        }
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

TEST_F(Puzzle, SoundsPlayAtDropsVerdictsAndClicks)
{
    if (!cMixer::Open())
        GTEST_SKIP() << "the audio device did not open: the game is silent here";
    const cSoundSet& s = engine().sounds;
    ASSERT_NE(s.ubac, nullptr);
    if (!s.aladin)
        printf("No MIDI instruments here: only the sound effects are watched.\n");
    typedef std::vector<Mix_Chunk*> Chunks;

    // Leave the puzzle and let its music die away, so entering can be watched whole.
    Traced([&] {
        cHeadlessGame::PushClick(EXIT_X, EXIT_Y);
        Frame();
    });
    cMixer::WaitForMusicToStop();
    {
        cMixer::cHold hold;
        Traced([&] {
            cHeadlessGame::PushClick(ICON_X, ICON_Y);
            Frame();
        });
        EXPECT_EQ(cMixer::Playing(), Chunks{s.klik});
        if (s.aladin) {
            EXPECT_TRUE(Mix_PlayingMusic());
            EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_IN);
        }
        cMixer::Clear();

        DragTo(5, 4);
        EXPECT_EQ(cMixer::Playing(), Chunks{s.ubac});
        cMixer::Clear();
        DragTo(8, 4); // waits over a taken slot: silent
        EXPECT_EQ(cMixer::Playing(), Chunks{});
        cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, GrabX(5), RectOf(5).y + 5);
        Frame();
        EXPECT_EQ(cMixer::Playing(), Chunks{s.ubac}) << "the waiting log dropped";
        cMixer::Clear();
        cHeadlessGame::PushButton(true, SDL_BUTTON_RIGHT, GrabX(8), GrabY(8));
        cHeadlessGame::PushClick(600, 300);
        Frame();
        EXPECT_EQ(cMixer::Playing(), Chunks{});

        cHeadlessGame::PushClick(GrabX(0), GrabY(0)); // ends the empty press's drag
        Frame();
        for (int i = 0; i < 9; ++i) {
            DragTo(i, RightSlot(i));
            EXPECT_EQ(cMixer::Playing(), Chunks{s.ubac}) << "log " << i;
            cMixer::Clear();
        }
        DragTo(9, 0);
        EXPECT_EQ(cMixer::Playing(), (Chunks{s.ubac, s.aplauz}));
        if (s.aladin) {
            EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_OUT);
        }
        cMixer::Clear();
    }
    cMixer::WaitForMusicToStop();
    {
        cMixer::cHold hold;
        Traced([&] {
            cHeadlessGame::PushKey(SDLK_RETURN);
            Frame();
        });
        EXPECT_EQ(cMixer::Playing(), Chunks{});
        if (s.aladin) {
            EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_IN);
        }
        Fill(false, 9);
        cMixer::Clear();
        DragTo(9, 0);
        EXPECT_EQ(cMixer::Playing(), (Chunks{s.ubac, s.ponovo}));
        cMixer::Clear();

        // The exit button clicks before it leaves; a finished puzzle has no music to fade.
        Traced([&] {
            cHeadlessGame::PushClick(EXIT_X, EXIT_Y);
            Frame();
        });
        EXPECT_EQ(cMixer::Playing(), Chunks{s.klik});
    }
    cMixer::WaitForMusicToStop();
    {
        cMixer::cHold hold;
        Traced([&] {
            cHeadlessGame::PushClick(ICON_X, ICON_Y);
            Frame();
        });
        cMixer::Clear();
        // Leaving a puzzle whose music plays fades it out.
        Traced([&] {
            cHeadlessGame::PushClick(EXIT_X, EXIT_Y);
            Frame();
        });
        EXPECT_EQ(cMixer::Playing(), Chunks{s.klik});
        if (s.aladin) {
            EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_OUT);
        }
    }
}

TEST_F(Puzzle, AThousandPuzzlesLeaveNothingBehind)
{
    // The music's fades are the mixer's business, not what is counted here; without it
    // no restart can wait on a fade-out.
    _Mix_Music* music = engine().sounds.aladin;
    engine().sounds.aladin = nullptr;
    Mix_HaltMusic();

    auto viaSpace = [&] {
        cHeadlessGame::PushKey(SDLK_SPACE);
        Frame();
    };
    auto viaLandscape = [&] {
        cHeadlessGame::PushClick(EXIT_X, EXIT_Y);
        Frame();
        const bool left = engine().states.back() == cIzbor::Instance();
        cHeadlessGame::PushMotion(ICON_X, ICON_Y);
        cHeadlessGame::PushClick(ICON_X, ICON_Y);
        Frame();
        return left && engine().states.back() == puzzle();
    };

    size_t heap = 0;
    int rounds = 0;
    Traced([&] {
        for (int i = 0; i < 20; ++i) {
            viaSpace();
            viaLandscape();
        }
        malloc_trim(0);
        heap = mallinfo2().uordblks;
        for (; rounds < 1000; ++rounds) {
            viaSpace();
            if (!viaLandscape() || engine().logs.size() != 10 || engine().slots.size() != 10)
                break;
        }
    });
    EXPECT_EQ(rounds, 1000);
    const size_t after = mallinfo2().uordblks;
    engine().sounds.aladin = music;
    // Each puzzle makes two copies of the glyph sheet of about 150 KB and twenty small
    // objects; a leak of any of them over two thousand puzzles would be far above this.
    if (heap > 0) { // zero under AddressSanitizer, whose leak checker counts instead
        EXPECT_LT(after, heap + 64 * 1024) << "heap in use grew from " << heap << " to " << after;
    }
    ExpectFreshPuzzle();
}

} // namespace
