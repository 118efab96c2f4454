// The puzzle's rules without a window: overlap, the drop into slots, the verdict and the shuffle.
#include "engine/cGameEngine.h"
#include "screens/cBalvan.h"
#include "screens/cMesto.h"
#include "screens/cSerijacija.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

const int HEIGHTS[10] = {195, 175, 160, 144, 130, 112, 96, 80, 63, 48}; // log i: slot 9 - i

// A new puzzle with no display: slot k at (23 + 40k, 376), log i unshuffled at (30 + 50i, 48).
struct cBoard
{
    cBoard()
    {
        for (int i = 0; i < 10; ++i) {
            engine.logClips[i] = {0, 0, 29, static_cast<Uint16>(HEIGHTS[i])};
            slots[i].Setup(cSerijacija::SlotX(i), cSerijacija::SLOT_Y, i, &engine);
            engine.slots.push_back(&slots[i]);
            logs[i].SetFrame(&engine.logClips[i]);
            logs[i].Setup(30 + 50 * i, 48, 29, HEIGHTS[i], 9 - i, &engine);
            engine.logs.push_back(&logs[i]);
        }
    }
    void Update() { cSerijacija::Instance()->Update(&engine); }
    void Mouse(Uint8 type, Uint16 x, Uint16 y) // the left button
    {
        SDL_Event e = {};
        e.button = {type, 0, SDL_BUTTON_LEFT, 0, x, y};
        if (type == SDL_MOUSEMOTION)
            e.motion = {type, 0, 0, x, y, 0, 0};
        cSerijacija::Instance()->HandleLogMouse(e, &engine);
    }

    cGameEngine engine;
    cMesto slots[10];
    cBalvan logs[10];
};

// Every top-left position around each bound, for the tallest, a middle and the shortest log. At
// the first position outside, the log's edge touches the slot's: touching edges do not overlap.
TEST(DropRule, ALogDropsExactlyWhenXIsIn40kMinus5To40kPlus25AndYIn377MinusHTo378)
{
    for (int i : {0, 4, 9})
        for (int k : {0, 1, 9}) {
            const int h = HEIGHTS[i];
            for (int x = 40 * k - 6; x <= 40 * k + 26; ++x)
                for (int y = 376 - h; y <= 379; ++y) {
                    cBoard b;
                    if (k == 1)
                        b.slots[1].Occupy(), b.slots[1].Vacate(); // freed, it catches as new
                    b.logs[i].SetPosition(x, y);
                    b.Update();
                    const bool in = 40 * k - 5 <= x && x <= 40 * k + 25 && 377 - h <= y && y <= 378;
                    ASSERT_EQ(b.logs[i].IsPlaced(), in) << "log " << i << " at " << x << "," << y;
                    ASSERT_EQ(b.slots[k].IsOccupied(), in);
                    ASSERT_EQ(b.engine.placedCount, in ? 1 : 0);
                    const SDL_Rect r = b.logs[i].GetRect(); // dropped: 3 px above its flower
                    EXPECT_EQ((std::pair<int, int>(r.x, r.y)),
                              in ? std::pair(16 + 40 * k, 373 - h) : std::pair(x, y));
                    EXPECT_TRUE(!in || b.logs[i].GetSlot() == k);
                }
        }
    const SDL_Rect far = {32000, 0, 1000, 10}; // sums past a signed 16-bit value do not wrap
    EXPECT_TRUE(cSerijacija::RectsOverlap(far, SDL_Rect{32767, 0, 1, 10}));
}

TEST(DropRule, NothingDropsWhileDraggingOrOnceOverAndOfTwoLogsOverOneSlotTheEarlierTakesIt)
{
    cBoard b;
    b.logs[7].SetPosition(130, 298); // both squarely over slot 3
    b.logs[2].SetPosition(132, 218);
    for (bool* guard : {&b.engine.dragging, &b.engine.puzzleDone}) {
        *guard = true;
        b.Update();
        *guard = false;
    }
    EXPECT_EQ(b.engine.placedCount, 0);
    b.Update();
    EXPECT_EQ(b.logs[2].GetSlot(), 3);
    EXPECT_FALSE(b.logs[7].IsPlaced()) << "an occupied slot's 0 x 0 rect still overlaps log 7";
    EXPECT_EQ(b.engine.placedCount, 1);
}

TEST(LogMouse, APressTakesTheTopmostLogAndAPlacedLogDoesNotFollow)
{
    cBoard b;
    b.logs[9].SetPosition(85, 60); // over log 1, and drawn after it
    b.Mouse(SDL_MOUSEBUTTONDOWN, 90, 70);
    EXPECT_EQ(b.engine.draggedLog, &b.logs[9]);
    b.Mouse(SDL_MOUSEBUTTONUP, 90, 70);

    b.logs[4].SetPosition(90, 248); // into slot 2
    b.Update();
    const SDL_Rect placed = b.logs[4].GetRect();
    b.Mouse(SDL_MOUSEBUTTONDOWN, placed.x + 14, placed.y + 30);
    EXPECT_EQ(b.engine.draggedLog, &b.logs[4]);
    b.Mouse(SDL_MOUSEMOTION, 500, 100);
    EXPECT_EQ(b.logs[4].GetRect().x, placed.x);
    EXPECT_EQ(b.logs[4].GetRect().y, placed.y);
}

TEST(Verdict, OnlyTheRisingOrderIsRightEvenASwapOfTwoIsWrong)
{
    cBoard b;
    auto order = [&](int p, int q) { // log i in slot 9 - i, but for logs p and q exchanged
        for (int i = 0; i < 10; ++i)
            b.logs[i].SetSlot(9 - (i == p ? q : i == q ? p : i));
        return cSerijacija::IsOrderCorrect(b.engine.logs);
    };
    EXPECT_TRUE(order(0, 0));
    for (int p = 0; p < 10; ++p)
        for (int q = p + 1; q < 10; ++q)
            EXPECT_FALSE(order(p, q)) << p << " <-> " << q;
}

TEST(Shuffle, ColumnsAreAPermutationAndTheSameSeedGivesTheSameArrangement)
{
    auto shuffled = [](unsigned seed) {
        std::vector<int> columns(10);
        srand(seed);
        cSerijacija::ShuffleColumns(columns.data());
        return columns;
    };
    std::set<std::vector<int>> seen;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::vector<int> cols = shuffled(seed);
        EXPECT_EQ(shuffled(seed), cols) << "seed " << seed;
        seen.insert(cols);
        std::sort(cols.begin(), cols.end());
        ASSERT_EQ(cols, (std::vector<int>{30, 80, 130, 180, 230, 280, 330, 380, 430, 480})) << seed;
    }
    EXPECT_GT(seen.size(), 100u) << "it does shuffle";
}

} // namespace
