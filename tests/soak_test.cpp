// Thousands of frames of random but plausible play against the real engine and screens,
// checking the game's invariants after every frame. The seed is printed; set
// ZAGONETAR_SOAK_SEED to replay a run and ZAGONETAR_SOAK_FRAMES to make it longer.
#include "cHeadlessGame.h"
#include "engine/cLayout.h"
#include "screens/cGlavniMeni.h"
#include "screens/cIzbor.h"
#include "screens/cSerijacija.h"

#include <algorithm>
#include <ctime>
#include <gtest/gtest.h>
#include <malloc.h>
#include <memory>
#include <random>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes(void); // no header in g++
#define HEAP_IN_USE() static_cast<long>(__sanitizer_get_current_allocated_bytes())
#else
#define HEAP_IN_USE() static_cast<long>(mallinfo2().uordblks)
#endif

namespace {

using L = cLayout;

std::mt19937 chance;
unsigned ReplayableSeed()
{
    return static_cast<unsigned>(chance());
}
int Pick(int n)
{
    return static_cast<int>(chance() % static_cast<unsigned>(n));
}

// Queues what a restless child might do in one frame: mostly dragging logs onto flowers,
// with clicks on the buttons and elsewhere, keys, and now and then the close button.
void Act(const cSerijacijaModel& puzzle, bool inDialog)
{
    static const L::cButton buttons[] = {L::START_BUTTON, L::ACTIVITY_ICON, L::EXIT_BUTTON};
    static const SDLKey keys[] = {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE, SDLK_F11,
                                  SDLK_DOWN,   SDLK_UP,     SDLK_a,     SDLK_RETURN};
    for (int events = Pick(4); events > 0; --events) {
        const int roll = Pick(1000);
        const L::cButton& b = buttons[Pick(3)];
        int x = roll < 150 ? b.hit.x + Pick(b.hit.w) : Pick(640);
        int y = roll < 150 ? b.hit.y + Pick(b.hit.h) : Pick(480);
        if (roll < 450) {
            cHeadlessGame::PushMotion(x, y);
            cHeadlessGame::PushButton(Pick(2), Pick(3) ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT, x, y);
        } else if (roll < 900 && !puzzle.logs.empty() && !puzzle.puzzleDone) {
            // Centred on the pointer, the log's top-left lands in slot k's catch range.
            // Mostly a free flower, as a child trying to finish would choose.
            int k = Pick(10);
            for (int tries = 0; tries < 10 && puzzle.slots[k].IsOccupied() && Pick(8); ++tries)
                k = (k + 1) % 10;
            const SDL_Rect r = puzzle.logs[static_cast<size_t>(Pick(10))].GetRect();
            cHeadlessGame::PushMotion(r.x + r.w / 2, r.y + r.h / 2);
            x = L::SlotX(k) - r.w + 1 + Pick(r.w + 1) + r.w / 2;
            y = L::SLOT_Y - r.h + 1 + Pick(3) + r.h / 2;
            cHeadlessGame::PushButton(true, SDL_BUTTON_LEFT, r.x + r.w / 2, r.y + r.h / 2);
            cHeadlessGame::PushMotion(x, y);
            cHeadlessGame::PushButton(false, SDL_BUTTON_LEFT, x, y);
        } else if (roll < 999) {
            // In the dialog a child mostly presses Return, which goes back.
            cHeadlessGame::PushKey(inDialog && Pick(2) ? SDLK_RETURN : keys[Pick(8)]);
        } else if (Pick(5) == 0) {
            cHeadlessGame::PushQuit();
        }
    }
}

// What must hold between any two frames, whatever the child did.
void CheckInvariants(const cGameEngine& e, const cSerijacijaModel& puzzle)
{
    ASSERT_NE(e.states.at(0), cGlavniMeni::Instance());
    for (size_t i = 1; i < e.states.size(); ++i)
        ASSERT_EQ(e.states[i], cGlavniMeni::Instance()) << "only the dialog covers a screen";
    ASSERT_EQ(e.RetiredCount(), 0u);
    ASSERT_EQ(puzzle.logs.size(), e.states[0] == cSerijacija::Instance() ? 10u : 0u);
    int placed = 0, occupied = 0;
    for (const cBalvan& log : puzzle.logs)
        if (log.IsPlaced()) {
            ++placed;
            const cMesto& slot = puzzle.slots.at(static_cast<size_t>(log.GetSlot()));
            ASSERT_TRUE(slot.IsOccupied());
            ASSERT_EQ(log.GetRect().x, slot.GetX() - L::DROP_LEFT);
        }
    for (const cMesto& slot : puzzle.slots)
        occupied += slot.IsOccupied();
    ASSERT_EQ(puzzle.placedCount, placed);
    ASSERT_EQ(placed, occupied) << "two logs in one slot";
    ASSERT_EQ(puzzle.puzzleDone, placed == 10);
    ASSERT_TRUE(!puzzle.draggedLog || (puzzle.draggedLog >= &puzzle.logs.front() &&
                                       puzzle.draggedLog <= &puzzle.logs.back()));
}

TEST(Soak, RandomPlayKeepsTheGameWholeAndItsMemoryFlat)
{
    const char* seedText = getenv("ZAGONETAR_SOAK_SEED");
    const char* framesText = getenv("ZAGONETAR_SOAK_FRAMES");
    const unsigned seed =
        seedText ? static_cast<unsigned>(atol(seedText)) : static_cast<unsigned>(time(nullptr));
    const long frames = framesText ? atol(framesText) : 3000;
    fprintf(stderr, "soak: seed %u, %ld frames (replay with ZAGONETAR_SOAK_SEED=%u)\n", seed,
            frames, seed);
    chance.seed(seed);
    cSerijacija* screen = cSerijacija::Instance();
    screen->shuffleSeed = ReplayableSeed;

    // Heap is measured from each run's first visit to the selection, where the music is
    // decoded: restarting the audio libraries in one process leaves a little of the MIDI
    // synthesizer behind each time, which a real player, who starts a new process, never
    // sees.
    auto game = std::make_unique<cHeadlessGame>();
    std::vector<long> selectionHeap;
    long baseline = -1, restarts = 0, verdicts = 0;
    for (long frame = 0; frame < frames && !HasFatalFailure(); ++frame) {
        const bool wasDone = screen->puzzle.puzzleDone;
        Act(screen->puzzle, game->engine.states.back() == cGlavniMeni::Instance());
        game->Frames();
        if (!game->engine.Running()) {
            game.reset();
            game = std::make_unique<cHeadlessGame>();
            ++restarts;
            baseline = -1;
        }
        SCOPED_TRACE("frame " + std::to_string(frame));
        CheckInvariants(game->engine, screen->puzzle);
        verdicts += screen->puzzle.puzzleDone && !wasDone;
        // The selection with nothing over it is a state the game keeps coming back to;
        // what it holds there must not grow with time.
        if (game->engine.states.size() == 1 && game->engine.states[0] == cIzbor::Instance()) {
            baseline = baseline < 0 ? HEAP_IN_USE() : baseline;
            selectionHeap.push_back(HEAP_IN_USE() - baseline);
        }
    }
    screen->shuffleSeed = cSerijacija::ClockSeconds;
    fprintf(stderr, "soak: %ld restarts, %ld verdicts, %zu samples on the selection screen\n",
            restarts, verdicts, selectionHeap.size());
    ASSERT_GE(selectionHeap.size(), 40u) << "the run hardly reached the selection screen";
    const size_t n = selectionHeap.size() / 4;
    std::nth_element(selectionHeap.begin(), selectionHeap.begin() + n / 2,
                     selectionHeap.begin() + n);
    const long early = selectionHeap[n / 2];
    std::nth_element(selectionHeap.end() - n, selectionHeap.end() - n + n / 2, selectionHeap.end());
    EXPECT_LT(selectionHeap[selectionHeap.size() - n + n / 2], early + 64 * 1024)
        << "heap on the selection screen grew";
}

} // namespace
