// The log puzzle's rules on the model alone: the shuffle, dragging, the drop into slots,
// taking a log back, and the verdict.
#include "screens/cSerijacija.h"
#include "screens/cSerijacijaModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

using M = cSerijacijaModel;
using L = cLayout;

// A new puzzle with log i (the tallest first) moved to the unshuffled column i.
struct cBoard : M
{
    cBoard()
    {
        Setup(1);
        for (int i = 0; i < COLUMN_COUNT; ++i)
            logs[i].SetPosition(L::ColumnX(i), L::LOG_TOP);
    }
    // Drags log i by its middle to put its top-left at (x, y), and lets a frame pass.
    cReport DragTo(int i, int x, int y)
    {
        const SDL_Rect r = logs[i].GetRect();
        LeftPress(r.x + r.w / 2, r.y + r.h / 2);
        Motion(x + r.w / 2, y + logs[i].FrameHeight() / 2);
        LeftRelease();
        return Step();
    }
    // Drops log i straight into slot k.
    cReport Drop(int i, int k) { return DragTo(i, L::SlotX(k), L::SLOT_Y - 10); }
};

TEST(Model, ColumnsAreAPermutationAndTheSameSeedGivesTheSameArrangement)
{
    std::set<std::vector<int>> seen;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        M a, b;
        a.Setup(seed);
        b.Setup(seed);
        std::vector<int> columns;
        for (int i = 0; i < M::COLUMN_COUNT; ++i) {
            ASSERT_EQ(a.logs[i].GetRect().x, b.logs[i].GetRect().x);
            EXPECT_EQ(a.logs[i].GetRect().y, L::LOG_TOP);
            EXPECT_EQ(a.logs[i].GetTarget(), M::COLUMN_COUNT - 1 - i);
            EXPECT_EQ(a.logs[i].GetRect().h, L::LOG_FRAMES[i].h);
            columns.push_back(a.logs[i].GetRect().x);
        }
        seen.insert(columns);
        std::sort(columns.begin(), columns.end());
        for (int i = 0; i < M::COLUMN_COUNT; ++i)
            ASSERT_EQ(columns[i], L::ColumnX(i)) << "seed " << seed;
    }
    EXPECT_GT(seen.size(), 100u) << "it does shuffle";
}

// Every top-left position around each bound, for the tallest, a middle and the shortest
// log. At the first position outside, the log's edge touches the slot's: touching edges
// do not overlap.
TEST(Model, ALogDropsExactlyWhenItOverlapsAFreeSlotsCatchArea)
{
    for (int i : {0, 4, 9})
        for (int k : {0, 1, 9}) {
            const int w = L::LOG_FRAMES[i].w, h = L::LOG_FRAMES[i].h, sx = L::SlotX(k);
            for (int x = sx - w - 1; x <= sx + L::SLOT_CATCH + 1; ++x)
                for (int y = L::SLOT_Y - h - 1; y <= L::SLOT_Y + L::SLOT_CATCH + 1; ++y) {
                    cBoard b;
                    b.logs[i].SetPosition(x, y);
                    const M::cReport report = b.Step();
                    const bool in = sx - w < x && x < sx + L::SLOT_CATCH && L::SLOT_Y - h < y &&
                                    y < L::SLOT_Y + L::SLOT_CATCH;
                    ASSERT_EQ(b.logs[i].IsPlaced(), in) << "log " << i << " at " << x << "," << y;
                    ASSERT_EQ(b.slots[k].IsOccupied(), in);
                    ASSERT_EQ(b.placedCount, in ? 1 : 0);
                    ASSERT_EQ(report.droppedCount, in ? 1 : 0);
                    const SDL_Rect r = b.logs[i].GetRect();
                    if (in) {
                        EXPECT_EQ(report.dropped[0], i);
                        EXPECT_EQ(b.logs[i].GetSlot(), k);
                        EXPECT_EQ(r.x, sx - L::DROP_LEFT);
                        EXPECT_EQ(r.y + h, L::SLOT_Y - L::DROP_ABOVE);
                    } else {
                        EXPECT_EQ(r.x, x);
                        EXPECT_EQ(r.y, y);
                    }
                }
        }
    const SDL_Rect far = {32000, 0, 1000, 10}; // sums past a signed 16-bit value do not wrap
    EXPECT_TRUE(M::RectsOverlap(far, SDL_Rect{32767, 0, 1, 10}));
}

TEST(Model, DraggingTakesTheTopmostLogAndNothingDropsUntilADragEnds)
{
    cBoard b;
    b.LeftPress(L::ColumnX(0), L::LOG_TOP + 20); // on the edge: misses
    EXPECT_EQ(b.draggedLog, nullptr);
    b.logs[9].SetPosition(L::ColumnX(1) + 5, L::LOG_TOP + 10); // over log 1, drawn after it
    b.LeftPress(L::ColumnX(1) + 10, L::LOG_TOP + 20);
    EXPECT_EQ(b.draggedLog, &b.logs[9]);
    b.Motion(L::SlotX(3) + 14, L::SLOT_Y - 5);
    EXPECT_EQ(b.Step().droppedCount, 0) << "no drop while the button is held";
    b.LeftRelease();
    EXPECT_FALSE(b.dragging);
    EXPECT_EQ(b.Step().droppedCount, 1);
    EXPECT_EQ(b.logs[9].GetSlot(), 3);

    // A press over empty ground holds every drop back until a log has been dragged.
    b.LeftPress(5, 470);
    b.LeftRelease();
    b.logs[4].SetPosition(L::SlotX(5), L::SLOT_Y - 10);
    EXPECT_EQ(b.Step().droppedCount, 0);
    b.DragTo(0, L::ColumnX(0), L::LOG_TOP);
    EXPECT_EQ(b.logs[4].GetSlot(), 5);

    // A placed log stays put when dragged.
    const SDL_Rect placed = b.logs[4].GetRect();
    b.LeftPress(placed.x + 14, placed.y + 30);
    b.Motion(500, 100);
    EXPECT_EQ(b.logs[4].GetRect().x, placed.x);
    EXPECT_EQ(b.logs[4].GetRect().y, placed.y);
}

TEST(Model, AnOccupiedSlotKeepsOutASecondLogAndTheRightButtonTakesALogBack)
{
    cBoard b;
    b.logs[7].SetPosition(L::SlotX(3), L::SLOT_Y - 70); // both squarely over slot 3
    b.logs[2].SetPosition(L::SlotX(3) + 2, L::SLOT_Y - 150);
    EXPECT_EQ(b.Step().droppedCount, 1);
    EXPECT_EQ(b.logs[2].GetSlot(), 3) << "the earlier log takes it";
    EXPECT_FALSE(b.logs[7].IsPlaced());

    const SDL_Rect r = b.logs[2].GetRect();
    b.RightPress(r.x + 1, r.y + 1);
    EXPECT_EQ(b.placedCount, 0);
    EXPECT_FALSE(b.slots[3].IsOccupied());
    EXPECT_EQ(b.logs[2].GetRect().x, L::ColumnX(2)) << "back home";
    b.RightPress(L::ColumnX(2) + 1, L::LOG_TOP + 1);
    EXPECT_EQ(b.placedCount, 0) << "a log at home is not taken back";
    b.Step();
    EXPECT_EQ(b.logs[7].GetSlot(), 3) << "the freed slot catches the other log";
}

TEST(Model, TheTenthLogJudgesTheRowOnceAndOnlyTheRisingOrderIsRight)
{
    for (int swapA = -1; swapA < M::COLUMN_COUNT; ++swapA) {
        cBoard b;
        const int swapB = (swapA + 1) % M::COLUMN_COUNT;
        M::cReport report{};
        for (int i = 0; i < M::COLUMN_COUNT; ++i) {
            ASSERT_EQ(report.judged, M::NONE) << "judged before the tenth log";
            int slot = b.logs[i].GetTarget();
            if (swapA >= 0 && (i == swapA || i == swapB))
                slot = b.logs[i == swapA ? swapB : swapA].GetTarget();
            report = b.Drop(i, slot);
        }
        EXPECT_TRUE(b.puzzleDone);
        EXPECT_EQ(report.judged, swapA < 0 ? M::RIGHT : M::WRONG) << "swap " << swapA;
        EXPECT_EQ(b.verdict, report.judged);
        EXPECT_EQ(b.IsOrderCorrect(), swapA < 0);
        // Over: the logs rest and nothing is judged again.
        const SDL_Rect r = b.logs[0].GetRect();
        b.RightPress(r.x + 1, r.y + 1);
        b.LeftPress(r.x + 1, r.y + 1);
        b.Motion(10, 10);
        EXPECT_EQ(b.logs[0].GetRect().x, r.x);
        EXPECT_EQ(b.Step().judged, M::NONE);
    }
}

TEST(Model, TheVerdictTypesOutOnEvenFramesAndTheHintBlinksEverySecond)
{
    uint32_t shown = 0;
    for (uint32_t frame = 101; frame < 120; ++frame)
        shown = cSerijacija::LettersShown(shown, frame, 6);
    EXPECT_EQ(shown, 6u) << "nine even frames, but only six letters";
    EXPECT_EQ(cSerijacija::LettersShown(2, 7, 6), 2u);
    EXPECT_EQ(cSerijacija::LettersShown(2, 8, 6), 3u);
    EXPECT_FALSE(cSerijacija::HintShown(0));
    EXPECT_FALSE(cSerijacija::HintShown(1023));
    EXPECT_TRUE(cSerijacija::HintShown(1024));
    EXPECT_TRUE(cSerijacija::HintShown(2047));
    EXPECT_FALSE(cSerijacija::HintShown(2048));
    EXPECT_EQ(cSerijacija::VerdictText(M::RIGHT), "Bravo!");
    EXPECT_EQ(cSerijacija::VerdictText(M::WRONG), "Greska!");
    EXPECT_EQ(cSerijacija::VerdictText(M::NONE), "");
}

} // namespace
