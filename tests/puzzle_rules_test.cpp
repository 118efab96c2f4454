// The puzzle's rules without a window: overlap, the drop into slots, the verdict and the shuffle.
#include "engine/cGameEngine.h"
#include "screens/cBalvan.h"
#include "screens/cMesto.h"
#include "screens/cSerijacija.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <set>
#include <vector>

namespace {

// The ten log heights, tallest first: log i belongs in slot 9 - i.
const int HEIGHTS[10] = {195, 175, 160, 144, 130, 112, 96, 80, 63, 48};
const int LOG_WIDTH = 29;
const int SLOT_Y = 376;

SDL_Rect Rect(int x, int y, int w, int h)
{
    return {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
            static_cast<Uint16>(h)};
}

SDL_Event Button(bool down, int button, int x, int y)
{
    SDL_Event event = {};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.type = event.type;
    event.button.button = static_cast<Uint8>(button);
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    return event;
}

SDL_Event Motion(int x, int y)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    return event;
}

// A puzzle laid out as a new one is, on an engine with no display and no images: slot k
// at (23 + 40k, 376), log i at column 30 + 50i (unshuffled), top edge 48.
class cBoard
{
public:
    cBoard()
    {
        for (int i = 0; i < 10; ++i)
            engine.logClips[i] = Rect(0, 0, LOG_WIDTH, HEIGHTS[i]);
        for (int k = 0; k < 10; ++k) {
            slotStore.emplace_back(new cMesto);
            slotStore.back()->Setup(cSerijacija::SlotX(k), SLOT_Y, k, &engine);
            engine.slots.push_back(slotStore.back().get());
        }
        for (int i = 0; i < 10; ++i) {
            logStore.emplace_back(new cBalvan);
            cBalvan* log = logStore.back().get();
            log->SetFrame(&engine.logClips[i]);
            log->Setup(30 + 50 * i, 48, LOG_WIDTH, HEIGHTS[i], 9 - i, &engine);
            engine.logs.push_back(log);
        }
    }

    cBalvan* Log(int i) { return engine.logs[static_cast<size_t>(i)]; }
    cMesto* Slot(int k) { return engine.slots[static_cast<size_t>(k)]; }

    void Update() { cSerijacija::Instance()->Update(&engine); }
    void Mouse(const SDL_Event& event) { cSerijacija::Instance()->HandleLogMouse(event, &engine); }

    // Press on the log's middle, carry it so its top-left lands on (x, y), let go.
    void Drag(int i, int x, int y)
    {
        const SDL_Rect r = Log(i)->GetRect();
        const int grabX = r.x + r.w / 2, grabY = r.y + r.h / 2;
        Mouse(Button(true, SDL_BUTTON_LEFT, grabX, grabY));
        Mouse(Motion(x + LOG_WIDTH / 2, y + HEIGHTS[i] / 2));
        Mouse(Button(false, SDL_BUTTON_LEFT, x + LOG_WIDTH / 2, y + HEIGHTS[i] / 2));
    }

    // Where log i's top-left goes to fall squarely into slot k.
    static int DropX(int k) { return 40 * k + 10; }
    static int DropY(int i) { return 377 - HEIGHTS[i] + 1; }

    cGameEngine engine;

private:
    std::vector<std::unique_ptr<cMesto>> slotStore;
    std::vector<std::unique_ptr<cBalvan>> logStore;
};

// What must hold after every Update: counts agree, each occupied slot holds exactly one
// placed log, and placed logs stand 3 pixels above their flower.
void ExpectConsistent(cBoard& board)
{
    cGameEngine& engine = board.engine;
    int placed = 0, occupied = 0;
    for (cBalvan* log : engine.logs)
        placed += log->IsPlaced();
    for (int k = 0; k < 10; ++k) {
        cMesto* slot = board.Slot(k);
        const SDL_Rect& r = slot->GetRect();
        int holders = 0;
        for (cBalvan* log : engine.logs)
            holders += log->IsPlaced() && log->GetSlot() == k;
        if (slot->IsOccupied()) {
            ++occupied;
            EXPECT_EQ(holders, 1) << "slot " << k;
            EXPECT_EQ(r.w, 0);
            EXPECT_EQ(r.h, 0);
        } else {
            EXPECT_EQ(holders, 0) << "slot " << k;
            EXPECT_EQ(r.w, 3);
            EXPECT_EQ(r.h, 3);
        }
    }
    for (cBalvan* log : engine.logs) {
        if (!log->IsPlaced())
            continue;
        const SDL_Rect& r = log->GetRect();
        EXPECT_EQ(r.x, cSerijacija::SlotX(log->GetSlot()) - 7);
        EXPECT_EQ(r.y + r.h, SLOT_Y - 3);
    }
    EXPECT_EQ(engine.placedCount, placed);
    EXPECT_EQ(engine.placedCount, occupied);
    EXPECT_GE(engine.placedCount, 0);
    EXPECT_LE(engine.placedCount, 10);
}

TEST(RectsOverlap, TouchingEdgesDoNotOverlapAndSumsDoNotWrap)
{
    const SDL_Rect a = Rect(10, 20, 5, 7);
    // Right, left, bottom and top neighbours that only touch, then overlap by one pixel.
    EXPECT_FALSE(cSerijacija::RectsOverlap(a, Rect(15, 20, 5, 7)));
    EXPECT_TRUE(cSerijacija::RectsOverlap(a, Rect(14, 20, 5, 7)));
    EXPECT_FALSE(cSerijacija::RectsOverlap(a, Rect(5, 20, 5, 7)));
    EXPECT_TRUE(cSerijacija::RectsOverlap(a, Rect(6, 20, 5, 7)));
    EXPECT_FALSE(cSerijacija::RectsOverlap(a, Rect(10, 27, 5, 7)));
    EXPECT_TRUE(cSerijacija::RectsOverlap(a, Rect(10, 26, 5, 7)));
    EXPECT_FALSE(cSerijacija::RectsOverlap(a, Rect(10, 13, 5, 7)));
    EXPECT_TRUE(cSerijacija::RectsOverlap(a, Rect(10, 14, 5, 7)));
    // An occupied slot's 0 x 0 rect "overlaps" strictly inside a log, not on its edge.
    EXPECT_TRUE(cSerijacija::RectsOverlap(a, Rect(12, 22, 0, 0)));
    EXPECT_FALSE(cSerijacija::RectsOverlap(a, Rect(10, 22, 0, 0)));
    // 32000 + 1000 does not fit a signed 16-bit value; negative corners are ordinary.
    EXPECT_TRUE(cSerijacija::RectsOverlap(Rect(32000, 0, 1000, 10), Rect(32767, 0, 1, 10)));
    EXPECT_TRUE(cSerijacija::RectsOverlap(Rect(-5, -5, 10, 10), Rect(4, 4, 3, 3)));
    EXPECT_FALSE(cSerijacija::RectsOverlap(Rect(-5, -5, 10, 10), Rect(5, 4, 3, 3)));
}

// Every top-left position around slot k, for a short, a middle and the tallest log: the
// log drops exactly when 40k - 5 <= x <= 40k + 25 and 377 - h <= y <= 378.
TEST(DropRule, ALogDropsExactlyInsideItsRanges)
{
    for (int i : {0, 4, 9}) {
        const int h = HEIGHTS[i];
        for (int k : {0, 1, 5, 9}) {
            for (int x = 40 * k - 8; x <= 40 * k + 28; ++x) {
                for (int y = 377 - h - 3; y <= 381; ++y) {
                    cBoard board;
                    board.Log(i)->SetPosition(x, y);
                    board.Update();
                    const bool inside = 40 * k - 5 <= x && x <= 40 * k + 25 && 377 - h <= y &&
                                        y <= 378;
                    ASSERT_EQ(board.Log(i)->IsPlaced(), inside)
                        << "log " << i << " slot " << k << " at " << x << "," << y;
                    if (!inside) {
                        EXPECT_EQ(board.Log(i)->GetRect().x, x);
                        EXPECT_EQ(board.Log(i)->GetRect().y, y);
                        EXPECT_EQ(board.engine.placedCount, 0);
                        continue;
                    }
                    EXPECT_EQ(board.Log(i)->GetSlot(), k);
                    EXPECT_TRUE(board.Slot(k)->IsOccupied());
                    EXPECT_EQ(board.Log(i)->GetRect().x, 16 + 40 * k);
                    EXPECT_EQ(board.Log(i)->GetRect().y, 373 - h);
                    EXPECT_EQ(board.engine.placedCount, 1);
                }
            }
        }
    }
}

TEST(DropRule, NothingDropsWhileDraggingOrOnceThePuzzleIsOver)
{
    cBoard board;
    board.Log(9)->SetPosition(cBoard::DropX(0), cBoard::DropY(9));
    board.engine.dragging = true;
    board.Update();
    EXPECT_FALSE(board.Log(9)->IsPlaced());
    board.engine.dragging = false;
    board.engine.puzzleDone = true;
    board.Update();
    EXPECT_FALSE(board.Log(9)->IsPlaced());
    EXPECT_EQ(board.engine.placedCount, 0);
}

TEST(DropRule, TwoLogsOverOneFreeSlotTheEarlierTallerOneTakesIt)
{
    cBoard board;
    // Log 7 (80 high) lies over slot 3 as well as log 2 (160 high); log 2 comes first.
    board.Log(7)->SetPosition(cBoard::DropX(3), cBoard::DropY(7));
    board.Log(2)->SetPosition(cBoard::DropX(3) + 2, cBoard::DropY(2));
    board.Update();
    EXPECT_TRUE(board.Log(2)->IsPlaced());
    EXPECT_EQ(board.Log(2)->GetSlot(), 3);
    EXPECT_FALSE(board.Log(7)->IsPlaced());
    EXPECT_EQ(board.Log(7)->GetRect().x, cBoard::DropX(3));
    EXPECT_EQ(board.Log(7)->GetRect().y, cBoard::DropY(7));
    EXPECT_EQ(board.engine.placedCount, 1);
    ExpectConsistent(board);
}

TEST(Verdict, OnlyTheRisingOrderIsRightEvenASwapOfTwoIsWrong)
{
    cBoard board;
    for (int i = 0; i < 10; ++i)
        board.Log(i)->SetSlot(9 - i);
    EXPECT_TRUE(cSerijacija::IsOrderCorrect(board.engine.logs));
    for (int a = 0; a < 10; ++a) {
        for (int b = a + 1; b < 10; ++b) {
            board.Log(a)->SetSlot(9 - b);
            board.Log(b)->SetSlot(9 - a);
            EXPECT_FALSE(cSerijacija::IsOrderCorrect(board.engine.logs)) << a << " <-> " << b;
            board.Log(a)->SetSlot(9 - a);
            board.Log(b)->SetSlot(9 - b);
        }
    }
    // Reversed: tallest at the left.
    for (int i = 0; i < 10; ++i)
        board.Log(i)->SetSlot(i);
    EXPECT_FALSE(cSerijacija::IsOrderCorrect(board.engine.logs));
}

TEST(Shuffle, ColumnsAreAPermutationAndTheSameSeedGivesTheSameArrangement)
{
    const std::vector<int> all = {30, 80, 130, 180, 230, 280, 330, 380, 430, 480};
    std::set<std::vector<int>> seen;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        int first[cSerijacija::COLUMN_COUNT], again[cSerijacija::COLUMN_COUNT];
        srand(seed);
        cSerijacija::ShuffleColumns(first);
        srand(seed);
        cSerijacija::ShuffleColumns(again);
        std::vector<int> a(first, first + 10), b(again, again + 10);
        EXPECT_EQ(a, b) << "seed " << seed;
        std::vector<int> sorted = a;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted, all) << "seed " << seed;
        seen.insert(a);
    }
    // It does shuffle: two hundred seeds do not all give one arrangement.
    EXPECT_GT(seen.size(), 100u);
}

// A log let go over an occupied slot waits there, and drops in the Update in which that
// slot is freed by the right button, unless a press on empty ground left dragging set.
TEST(WaitingLog, DropsWhenItsSlotIsFreedOnceNoDragIsOn)
{
    cBoard board;
    board.Drag(5, cBoard::DropX(4), cBoard::DropY(5));
    board.Update();
    ASSERT_TRUE(board.Log(5)->IsPlaced());
    board.Drag(8, cBoard::DropX(4), cBoard::DropY(8));
    board.Update();
    EXPECT_FALSE(board.Log(8)->IsPlaced());
    EXPECT_EQ(board.Log(8)->GetRect().x, cBoard::DropX(4));
    ExpectConsistent(board);

    // A click on empty ground: the press sets dragging, the release grabbed nothing to end.
    board.Mouse(Button(true, SDL_BUTTON_LEFT, 600, 300));
    board.Mouse(Button(false, SDL_BUTTON_LEFT, 600, 300));
    EXPECT_TRUE(board.engine.dragging);
    EXPECT_EQ(board.engine.draggedLog, nullptr);

    // Right press on the placed log, above the waiting one: home, slot free.
    const SDL_Rect placed = board.Log(5)->GetRect();
    board.Mouse(Button(true, SDL_BUTTON_RIGHT, placed.x + 14, placed.y + 5));
    EXPECT_FALSE(board.Log(5)->IsPlaced());
    EXPECT_EQ(board.Log(5)->GetRect().x, 30 + 50 * 5);
    EXPECT_EQ(board.Log(5)->GetRect().y, 48);
    EXPECT_FALSE(board.Slot(4)->IsOccupied());
    EXPECT_EQ(board.engine.placedCount, 0);
    board.Update();
    EXPECT_FALSE(board.Log(8)->IsPlaced()) << "dragging is still set";

    // Grabbing any log and letting it go ends the drag; the waiting log then drops.
    const SDL_Rect home = board.Log(0)->GetRect();
    board.Mouse(Button(true, SDL_BUTTON_LEFT, home.x + 14, home.y + 20));
    board.Mouse(Button(false, SDL_BUTTON_LEFT, home.x + 14, home.y + 20));
    EXPECT_FALSE(board.engine.dragging);
    board.Update();
    EXPECT_TRUE(board.Log(8)->IsPlaced());
    EXPECT_EQ(board.Log(8)->GetSlot(), 4);
    EXPECT_EQ(board.Log(0)->GetRect().y, 48);
    ExpectConsistent(board);
}

TEST(LogMouse, ThePressGrabsTheLastLogHitAndAPlacedLogDoesNotFollow)
{
    cBoard board;
    // Log 9 laid over log 1: a press where both are takes log 9, drawn on top.
    board.Log(9)->SetPosition(board.Log(1)->GetRect().x + 5, 60);
    board.Mouse(Button(true, SDL_BUTTON_LEFT, board.Log(1)->GetRect().x + 10, 70));
    EXPECT_EQ(board.engine.draggedLog, board.Log(9));
    board.Mouse(Motion(300, 250));
    EXPECT_EQ(board.Log(9)->GetRect().x, 300 - 14);
    EXPECT_EQ(board.Log(9)->GetRect().y, 250 - 24);
    board.Mouse(Button(false, SDL_BUTTON_LEFT, 300, 250));
    EXPECT_EQ(board.engine.draggedLog, nullptr);
    EXPECT_FALSE(board.engine.dragging);

    // Odd heights halve downwards, and the pointer near the edge puts the log off screen.
    board.Mouse(Button(true, SDL_BUTTON_LEFT, board.Log(8)->GetRect().x + 14, 60));
    board.Mouse(Motion(3, 1));
    EXPECT_EQ(board.Log(8)->GetRect().x, 3 - 14);
    EXPECT_EQ(board.Log(8)->GetRect().y, 1 - 31);
    board.Mouse(Button(false, SDL_BUTTON_LEFT, 3, 1));

    board.Drag(4, cBoard::DropX(2), cBoard::DropY(4));
    board.Update();
    ASSERT_TRUE(board.Log(4)->IsPlaced());
    const SDL_Rect placed = board.Log(4)->GetRect();
    board.Mouse(Button(true, SDL_BUTTON_LEFT, placed.x + 14, placed.y + 30));
    EXPECT_EQ(board.engine.draggedLog, board.Log(4));
    board.Mouse(Motion(500, 100));
    board.Update();
    EXPECT_EQ(board.Log(4)->GetRect().x, placed.x);
    EXPECT_EQ(board.Log(4)->GetRect().y, placed.y);
    board.Mouse(Button(false, SDL_BUTTON_LEFT, 500, 100));
    board.Update();
    EXPECT_TRUE(board.Log(4)->IsPlaced());
    EXPECT_EQ(board.engine.placedCount, 1);
    ExpectConsistent(board);
}

// Random play through the mouse handler: drags to slot ranges, near misses, right presses,
// clicks on empty ground. The counts and the slots agree after every Update, and once the
// row is full nothing moves any more.
TEST(Invariants, HoldThroughRandomPlay)
{
    std::mt19937 random(12345);
    for (int game = 0; game < 40; ++game) {
        cBoard board;
        for (int step = 0; step < 400 && !board.engine.puzzleDone; ++step) {
            const int what = static_cast<int>(random() % 10);
            const int i = static_cast<int>(random() % 10);
            const int k = static_cast<int>(random() % 10);
            if (what < 6) {
                const int x = 40 * k - 7 + static_cast<int>(random() % 35);
                const int y = 377 - HEIGHTS[i] - 2 + static_cast<int>(random() % 6);
                board.Drag(i, x, y);
            } else if (what < 9) {
                const SDL_Rect r = board.Log(i)->GetRect();
                board.Mouse(Button(true, SDL_BUTTON_RIGHT, r.x + 14, r.y + r.h / 2));
            } else {
                board.Mouse(Button(true, SDL_BUTTON_LEFT, 630, 470));
                board.Mouse(Button(false, SDL_BUTTON_LEFT, 630, 470));
                // Grab and let go of a log so the next drags count again.
                const SDL_Rect r = board.Log(i)->GetRect();
                board.Mouse(Button(true, SDL_BUTTON_LEFT, r.x + 14, r.y + r.h / 2));
                board.Mouse(Button(false, SDL_BUTTON_LEFT, r.x + 14, r.y + r.h / 2));
            }
            board.Update();
            ExpectConsistent(board);
            if (HasFailure())
                return;
        }
        if (!board.engine.puzzleDone)
            continue;
        EXPECT_EQ(board.engine.placedCount, 10);
        std::vector<SDL_Rect> before;
        for (cBalvan* log : board.engine.logs)
            before.push_back(log->GetRect());
        const SDL_Rect r = board.Log(3)->GetRect();
        board.Mouse(Button(true, SDL_BUTTON_RIGHT, r.x + 14, r.y + 10));
        board.Mouse(Button(true, SDL_BUTTON_LEFT, r.x + 14, r.y + 10));
        board.Mouse(Motion(100, 100));
        board.Update();
        for (int j = 0; j < 10; ++j) {
            EXPECT_EQ(board.Log(j)->GetRect().x, before[static_cast<size_t>(j)].x);
            EXPECT_EQ(board.Log(j)->GetRect().y, before[static_cast<size_t>(j)].y);
        }
        EXPECT_EQ(board.engine.placedCount, 10);
    }
}

} // namespace
