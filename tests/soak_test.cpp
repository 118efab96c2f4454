// Tens of thousands of frames of random but plausible play against the real engine and
// screens, checking the game's invariants after every frame. The seed is printed; set
// ZAGONETAR_SOAK_SEED to replay a run and ZAGONETAR_SOAK_FRAMES to make it longer.
#include "cHeadlessGame.h"
#include "screens/cBalvan.h"
#include "screens/cGlavniMeni.h"
#include "screens/cIntro.h"
#include "screens/cIzbor.h"
#include "screens/cMesto.h"
#include "screens/cSerijacija.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <malloc.h>
#include <random>
#include <set>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; g++ ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#endif

namespace {

size_t HeapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

unsigned long EnvNumber(const char* name, unsigned long fallback)
{
    const char* value = getenv(name);
    return value && *value ? strtoul(value, nullptr, 10) : fallback;
}

std::mt19937* soakRandom = nullptr;
unsigned ReplayableSeed()
{
    return static_cast<unsigned>((*soakRandom)());
}

class cPlayer
{
public:
    cPlayer(cHeadlessGame& game, unsigned seed) : random(seed), game(game) {}

    // Queues what a restless child might do in one frame.
    void Act()
    {
        const int events = Pick(4);
        for (int i = 0; i < events; ++i)
            OneThing();
    }

    std::mt19937 random;

private:
    int Pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

    void PointSomewhere(int* x, int* y)
    {
        cGameEngine& e = game.engine;
        switch (Pick(8)) {
        case 0:
            *x = 314;
            *y = 369;
            return; // start button
        case 1:
            *x = 273;
            *y = 64;
            return; // activity icon
        case 2:
            *x = 576;
            *y = 56;
            return; // exit button
        case 3:
        case 4:
            if (!e.logs.empty()) {
                const SDL_Rect& r =
                    e.logs[static_cast<size_t>(Pick(static_cast<int>(e.logs.size())))]->GetRect();
                *x = r.x + r.w / 2;
                *y = r.y + r.h / 2;
                return;
            }
            break;
        default:
            break;
        }
        *x = Pick(660) - 10; // now and then just outside the window
        *y = Pick(500) - 10;
    }

    void DragALog()
    {
        cGameEngine& e = game.engine;
        const SDL_Rect& r =
            e.logs[static_cast<size_t>(Pick(static_cast<int>(e.logs.size())))]->GetRect();
        // Mostly onto a free flower, as a child trying to finish would.
        int k = Pick(10);
        for (int tries = 0;
             tries < 10 && e.slots[static_cast<size_t>(k)]->IsOccupied() && Pick(8) != 0; ++tries)
            k = (k + 1) % 10;
        const int h = r.h;
        cHeadlessGame::PushMotion(r.x + r.w / 2, r.y + r.h / 2);
        cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, r.x + r.w / 2, r.y + r.h / 2);
        // The log is centred on the pointer; aim its top-left into slot k's catch range.
        const int px = 40 * k + Pick(31) - 5 + 14;
        const int py = 377 - h + Pick(3) + h / 2;
        cHeadlessGame::PushMotion(px, py);
        cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, px, py);
    }

    void OneThing()
    {
        int x = 0, y = 0;
        const int roll = Pick(1000);
        if (roll == 999 && Pick(5) != 0)
            return; // closing the window is rare
        if (roll < 250) {
            PointSomewhere(&x, &y);
            cHeadlessGame::PushMotion(std::max(0, x), std::max(0, y));
        } else if (roll < 350) {
            PointSomewhere(&x, &y);
            cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, std::max(0, x), std::max(0, y));
        } else if (roll < 450) {
            PointSomewhere(&x, &y);
            cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, std::max(0, x), std::max(0, y));
        } else if (roll < 500) {
            PointSomewhere(&x, &y);
            cHeadlessGame::PushButton(Pick(2) == 0, SDL_BUTTON_RIGHT, std::max(0, x),
                                      std::max(0, y));
        } else if (roll < 900) {
            if (!game.engine.logs.empty() && !game.engine.puzzleDone)
                DragALog();
        } else if (roll < 999) {
            // Esc, the dialog's keys, Space and F11 now and then; Return after a verdict.
            // In the dialog a child mostly just presses Return, which goes back.
            static const SDLKey keys[] = {SDLK_ESCAPE, SDLK_UP,    SDLK_DOWN, SDLK_RETURN,
                                          SDLK_RETURN, SDLK_SPACE, SDLK_F11,  SDLK_a,
                                          SDLK_b,      SDLK_c};
            static const SDLKey dialogKeys[] = {SDLK_RETURN, SDLK_RETURN, SDLK_RETURN, SDLK_RETURN,
                                                SDLK_DOWN,   SDLK_UP,     SDLK_ESCAPE, SDLK_F11};
            const bool inDialog = game.engine.states.back() == cGlavniMeni::Instance();
            cHeadlessGame::PushKey(inDialog ? dialogKeys[Pick(8)] : keys[Pick(10)]);
        } else {
            cHeadlessGame::PushQuit();
        }
    }

    cHeadlessGame& game;
};

bool IsScreen(cGameState* s)
{
    return s == cIntro::Instance() || s == cIzbor::Instance() || s == cSerijacija::Instance();
}

// What must hold between any two frames, whatever the child did.
void CheckInvariants(cHeadlessGame& game, unsigned long frame)
{
    cGameEngine& e = game.engine;
    SCOPED_TRACE("frame " + std::to_string(frame));
    ASSERT_FALSE(e.states.empty());
    ASSERT_TRUE(IsScreen(e.states[0]));
    for (size_t i = 1; i < e.states.size(); ++i)
        ASSERT_EQ(e.states[i], cGlavniMeni::Instance()); // only the dialog covers a screen
    ASSERT_EQ(e.RetiredCount(), 0u);
    ASSERT_NE(e.screen, nullptr);

    if (e.states[0] != cSerijacija::Instance()) {
        ASSERT_TRUE(e.logs.empty());
        ASSERT_TRUE(e.slots.empty());
        ASSERT_EQ(e.draggedLog, nullptr);
        return;
    }
    ASSERT_EQ(e.logs.size(), 10u);
    ASSERT_EQ(e.slots.size(), 10u);
    int placed = 0, occupied = 0;
    std::set<int> slotsTaken;
    for (const cBalvan* log : e.logs) {
        if (!log->IsPlaced())
            continue;
        ++placed;
        const int k = log->GetSlot();
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 10);
        ASSERT_TRUE(slotsTaken.insert(k).second) << "two logs in slot " << k;
        const cMesto* slot = e.slots[static_cast<size_t>(k)];
        ASSERT_TRUE(slot->IsOccupied());
        ASSERT_EQ(log->GetRect().x, slot->GetX() - 7);
        ASSERT_EQ(log->GetRect().y, slot->GetY() - 3 - log->FrameHeight());
    }
    for (const cMesto* slot : e.slots)
        occupied += slot->IsOccupied() ? 1 : 0;
    ASSERT_EQ(e.placedCount, placed);
    ASSERT_EQ(e.placedCount, occupied);
    ASSERT_EQ(e.puzzleDone, placed == 10);
    if (e.draggedLog) {
        ASSERT_NE(std::find(e.logs.begin(), e.logs.end(), e.draggedLog), e.logs.end())
            << "the dragged log belongs to an earlier puzzle";
    }
}

TEST(Soak, RandomPlayKeepsTheGameWholeAndItsMemoryFlat)
{
    const unsigned seed = static_cast<unsigned>(
        EnvNumber("ZAGONETAR_SOAK_SEED", static_cast<unsigned long>(time(nullptr))));
    const unsigned long frames = EnvNumber("ZAGONETAR_SOAK_FRAMES", 20000);
    fprintf(stderr, "soak: seed %u, %lu frames (replay with ZAGONETAR_SOAK_SEED=%u)\n", seed,
            frames, seed);

    cHeadlessGame game;
    cPlayer player(game, seed);
    soakRandom = &player.random;
    cSerijacija::Instance()->shuffleSeed = ReplayableSeed;
    game.StartOnIntro();

    // Heap is measured from the start of each run: restarting the audio libraries in one
    // process leaves a little of the MIDI synthesizer behind each time, which a real
    // player, who starts a new process, never sees.
    std::vector<long> selectionHeap;
    long runBaseline = static_cast<long>(HeapInUse());
    unsigned long restarts = 0, verdicts = 0;
    bool wasDone = false;
    for (unsigned long frame = 0; frame < frames; ++frame) {
        player.Act();
        game.Frame();
        if (!game.engine.Running()) {
            game.Restart();
            ++restarts;
            runBaseline = static_cast<long>(HeapInUse());
        }
        CheckInvariants(game, frame);
        if (HasFatalFailure())
            break;
        if (game.engine.puzzleDone && !wasDone)
            ++verdicts;
        wasDone = game.engine.puzzleDone;
        // The selection screen with nothing over it is a state the game keeps coming
        // back to; what it holds there must not grow with time.
        if (game.engine.states.size() == 1 && game.engine.states[0] == cIzbor::Instance())
            selectionHeap.push_back(static_cast<long>(HeapInUse()) - runBaseline);
    }
    cSerijacija::Instance()->shuffleSeed = cSerijacija::ClockSeconds;
    fprintf(stderr, "soak: %lu restarts, %lu verdicts, %zu samples on the selection screen\n",
            restarts, verdicts, selectionHeap.size());

    ASSERT_GE(selectionHeap.size(), 40u) << "the run hardly reached the selection screen";
    const size_t n = selectionHeap.size() / 4;
    std::vector<long> early(selectionHeap.begin(), selectionHeap.begin() + static_cast<long>(n));
    std::vector<long> late(selectionHeap.end() - static_cast<long>(n), selectionHeap.end());
    std::sort(early.begin(), early.end());
    std::sort(late.begin(), late.end());
    const long earlyMedian = early[n / 2], lateMedian = late[n / 2];
    EXPECT_LT(lateMedian, earlyMedian + 64 * 1024)
        << "heap on the selection screen grew from " << earlyMedian << " to " << lateMedian;
}

} // namespace
