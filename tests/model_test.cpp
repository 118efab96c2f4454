// The log puzzle's rules on the model alone: the shuffle, dragging, the drop into slots,
// taking a log back, and the verdict.
#include "screens/cSerijacija.h"

#include <gtest/gtest.h>

namespace {

using M = cSerijacijaModel;
// Flower k stands at (23 + 40 k, 376); logs, 29 wide, tallest first, start at (30 + 50 c, 48).
const auto SlotX = [](int k) { return 23 + 40 * k; };
const int SLOT_Y = 376, HEIGHTS[] = {195, 175, 160, 144, 130, 112, 96, 80, 63, 48};

struct cBoard : M
{
    explicit cBoard(unsigned seed = 1) { Setup(seed); }
    bool LogAt(int i, int x, int y) { return logs[i].GetRect().x == x && logs[i].GetRect().y == y; }
    // Drags log i by its middle to put its top-left in slot k's catch area.
    cReport Drop(int i, int k)
    {
        const SDL_Rect r = logs[i].GetRect();
        LeftPress(r.x + r.w / 2, r.y + r.h / 2);
        Motion(SlotX(k) + r.w / 2, SLOT_Y - 10 + r.h / 2);
        LeftRelease(0, 0);
        return Step();
    }
};

TEST(Model, TheShuffleIsAPermutationOfTheColumnsAndTheSameSeedReplays)
{
    const int seedOne[] = {3, 8, 2, 4, 5, 0, 1, 7, 9, 6}; // glibc's rand() deals these, always
    bool seen[10][10] = {};
    for (unsigned seed = 1; seed <= 200; ++seed) {
        cBoard a(seed), b(seed);
        int columns = 0;
        for (int i = 0; i < 10; ++i) {
            const SDL_Rect r = a.logs[i].GetRect();
            const int c = (r.x - 30) / 50;
            ASSERT_TRUE(c >= 0 && c < 10 && r.x == 30 + 50 * c && r.x == b.logs[i].GetRect().x &&
                        (seed != 1 || c == seedOne[i]));
            EXPECT_TRUE(r.y == 48 && a.logs[i].GetTarget() == 9 - i);
            columns |= 1 << c;
            seen[i][c] = true;
        }
        ASSERT_EQ(columns, 0x3ff) << "seed " << seed;
    }
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(seen[i / 10][i % 10]) << "log " << i / 10 << " never in column " << i % 10;
}

// Every top-left around each bound, for three logs; at the first outside, the edges only touch.
TEST(Model, ALogDropsExactlyWhenItOverlapsAFreeSlotsCatchArea)
{
    for (int i : {0, 4, 9})
        for (int k : {0, 1, 9}) {
            const int w = 29, h = HEIGHTS[i], sx = SlotX(k); // a catch area 3 pixels square
            for (int x = sx - w - 1; x <= sx + 3 + 1; ++x)
                for (int y = SLOT_Y - h - 1; y <= SLOT_Y + 3 + 1; ++y) {
                    cBoard b;
                    b.logs[i].SetPosition(x, y);
                    const M::cReport report = b.Step();
                    const bool in = sx - w < x && x < sx + 3 && SLOT_Y - h < y && y < SLOT_Y + 3;
                    ASSERT_TRUE(b.logs[i].IsPlaced() == in && b.slots[k].IsOccupied() == in &&
                                b.placedCount == in && report.droppedCount == in)
                        << "log " << i << " at " << x << "," << y;
                    EXPECT_TRUE(b.LogAt(i, in ? sx - 7 : x, in ? SLOT_Y - 3 - h : y));
                    EXPECT_TRUE(!in || (report.dropped[0] == i && b.logs[i].GetSlot() == k));
                }
        }
    const SDL_Rect far = {32000, 0, 1000, 10}; // sums past a signed 16-bit value do not wrap
    EXPECT_TRUE(M::RectsOverlap(far, SDL_Rect{32767, 0, 1, 10}));
}

TEST(Model, DraggingTakesTheTopmostLogAndNothingDropsUntilADragEnds)
{
    cBoard b;
    const SDL_Rect e = b.logs[0].GetRect();
    for (auto [x, y] :
         {std::pair{e.x, e.y + 9}, {e.x + e.w, e.y + 9}, {e.x + 9, e.y}, {e.x + 9, e.y + e.h}})
        b.LeftPress(x, y);
    EXPECT_EQ(b.draggedLog, nullptr) << "a press on an edge misses";
    const SDL_Rect one = b.logs[1].GetRect();
    b.logs[9].SetPosition(one.x + 5, one.y + 10); // over log 1, drawn after it
    b.LeftPress(one.x + 10, one.y + 20);
    EXPECT_EQ(b.draggedLog, &b.logs[9]);
    b.Motion(SlotX(3) + 14, SLOT_Y - 5);
    EXPECT_EQ(b.Step().droppedCount, 0) << "no drop while the button is held";
    b.LeftRelease(0, 0);
    EXPECT_TRUE(b.Step().droppedCount == 1 && b.logs[9].GetSlot() == 3);

    // A press over empty ground holds every drop back until a log has been dragged.
    b.LeftPress(5, 470);
    b.LeftRelease(0, 0);
    b.logs[4].SetPosition(SlotX(5), SLOT_Y - 10);
    EXPECT_EQ(b.Step().droppedCount, 0);
    b.Drop(0, 7);
    EXPECT_EQ(b.logs[4].GetSlot(), 5);

    b.LeftPress(SlotX(5) + 7, SLOT_Y - 30); // a placed log stays put when dragged
    b.Motion(500, 100);
    EXPECT_TRUE(b.LogAt(4, SlotX(5) - 7, SLOT_Y - 3 - 130));
}

TEST(Model, AnOccupiedSlotKeepsOutASecondLogAndTheRightButtonTakesALogBack)
{
    cBoard b;
    // Both straddle the flower's corner, which an occupied slot's empty catch area keeps.
    b.logs[7].SetPosition(SlotX(3) - 10, SLOT_Y - 70);
    b.logs[2].SetPosition(SlotX(3) - 12, SLOT_Y - 150);
    EXPECT_TRUE(b.Step().droppedCount == 1 && b.logs[2].GetSlot() == 3) << "the earlier log";

    b.RightPress(b.logs[0].GetRect().x + 1, 48 + 1);
    EXPECT_EQ(b.placedCount, 1) << "only a placed log under the pointer goes back";
    b.RightPress(SlotX(3), SLOT_Y - 20);
    EXPECT_TRUE(b.placedCount == 0 && !b.logs[2].IsPlaced() && b.LogAt(2, 130, 48)) << "home";
    b.Drop(7, 3);
    EXPECT_EQ(b.logs[7].GetSlot(), 3) << "the freed slot catches again";
}

TEST(Model, TheTenthLogJudgesTheRowOnceAndOnlyTheRisingOrderIsRight)
{
    for (int s = 0; s < 10; ++s)
        for (int t = s; t < 10; ++t) { // logs s and t trade slots, unless s == t
            cBoard b;
            M::cReport report{};
            for (int i = 0; i < 10; ++i) {
                ASSERT_EQ(report.judged, M::NONE) << "judged before the tenth log";
                report = b.Drop(i, b.logs[i == s ? t : i == t ? s : i].GetTarget());
            }
            EXPECT_EQ(report.judged, s == t ? M::RIGHT : M::WRONG) << s << " and " << t;
            EXPECT_TRUE(b.puzzleDone && b.verdict == report.judged);
            const SDL_Rect r = b.logs[0].GetRect(); // over: input is ignored from now on
            b.RightPress(r.x + 1, r.y + 1);
            b.LeftPress(r.x + 1, r.y + 1);
            b.Motion(10, 10);
            EXPECT_TRUE(b.draggedLog == nullptr && b.LogAt(0, r.x, r.y));
            EXPECT_EQ(b.Step().judged, M::NONE);
        }
}

// One button: a click (press, release within 4 pixels) takes a log up, even out of its flower;
// it follows the pointer with no button held; the next press lets it go, taking up no other.
TEST(Model, WithOneButtonAClickCarriesALogAndAPressOnAPlacedOneLiftsIt)
{
    cBoard b;
    b.oneButton = true;
    // A click on log i's middle, then the pointer over slot k's flower and a press there.
    const auto click = [&b](int x, int y) { b.LeftPress(x, y), b.LeftRelease(x + 4, y - 4); };
    const auto carry = [&](int i, int k) {
        const SDL_Rect r = b.logs[i].GetRect();
        click(r.x + 14, r.y + r.h / 2);
        EXPECT_TRUE(b.carrying) << "log " << i;
        b.Motion(SlotX(k) + 14, SLOT_Y + 12);
        EXPECT_EQ(b.Step().droppedCount, 0) << "no drop while carried";
        b.LeftPress(SlotX(k) + 14, SLOT_Y + 12);
        return b.Step();
    };
    // Carried onto log 8 and let go there by a click: log 8 is not taken up, nothing follows.
    const SDL_Rect eight = b.logs[8].GetRect();
    click(b.logs[9].GetRect().x + 14, 48 + 24);
    b.Motion(eight.x + 14, eight.y + 30);
    click(eight.x + 14, eight.y + 30);
    b.Motion(300, 300);
    EXPECT_TRUE(!b.carrying && b.LogAt(9, eight.x, eight.y + 6) && b.LogAt(8, eight.x, 48));
    // A drag (released 5 pixels away) lets go as without the option.
    b.LeftPress(eight.x + 14, eight.y + 30);
    b.Motion(eight.x + 19, eight.y + 30);
    b.LeftRelease(eight.x + 19, eight.y + 30);
    EXPECT_TRUE(!b.carrying && !b.dragging && b.logs[9].GetRect().x == eight.x + 5);
    // Into slot 1, wrongly; lifted out of it again and into slot 0.
    EXPECT_TRUE(carry(9, 1).droppedCount == 1 && b.placedCount == 1 && b.slots[1].IsOccupied());
    click(SlotX(1) - 7 + 14, SLOT_Y - 3 - 20);
    EXPECT_TRUE(b.carrying && b.placedCount == 0 && !b.slots[1].IsOccupied() &&
                !b.logs[9].IsPlaced());
    b.Motion(SlotX(0) + 14, SLOT_Y + 12);
    b.LeftPress(SlotX(0) + 14, SLOT_Y + 12);
    M::cReport report = b.Step();
    EXPECT_TRUE(report.droppedCount == 1 && b.logs[9].GetSlot() == 0 && b.placedCount == 1);
    EXPECT_TRUE(b.LogAt(9, SlotX(0) - 7, SLOT_Y - 3 - 48));
    // The rest where they belong: the row rises, and a left click would start anew.
    for (int i = 8; i >= 0; --i)
        report = carry(i, 9 - i);
    EXPECT_EQ(report.judged, M::RIGHT);
    EXPECT_TRUE(b.LeftClickStartsAnew());
    b.oneButton = false;
    EXPECT_FALSE(b.LeftClickStartsAnew()) << "without the option the right button does that";
}

} // namespace
