// Thousands of frames of random but plausible play on the real game, checking its invariants
// every frame. ZAGONETAR_SOAK_SEED replays a printed seed; ZAGONETAR_SOAK_FRAMES sets the length.
#include "cHeadlessGame.h"
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

using H = cHeadlessGame;
std::mt19937 chance;
const auto Pick = [](int n) { return static_cast<int>(chance() % static_cast<unsigned>(n)); };

// What a restless child might do in a frame: drag logs to flowers, click, press keys, quit.
void Act(const cSerijacijaModel& puzzle, bool inDialog)
{
    // The start button, the activity icon and the exit button: x, y, w, h.
    static const SDL_Rect buttons[] = {{207, 318, 215, 102}, {251, 47, 45, 35}, {532, 19, 89, 75}};
    static const SDLKey keys[] = {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE, SDLK_F11,
                                  SDLK_DOWN,   SDLK_UP,     SDLK_a,     SDLK_RETURN};
    for (int events = Pick(4); events > 0; --events) {
        const int roll = Pick(1000);
        const SDL_Rect& b = buttons[Pick(3)];
        int x = roll < 150 ? b.x + Pick(b.w) : Pick(640),
            y = roll < 150 ? b.y + Pick(b.h) : Pick(480);
        if (roll < 450) {
            H::PushMotion(x, y);
            H::PushButton(Pick(2), Pick(3) ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT, x, y);
        } else if (roll < 900 && !puzzle.logs.empty() && !puzzle.puzzleDone) {
            // Held by its middle, to the catch area of flower k at (23 + 40 k, 376), mostly free.
            int k = Pick(10);
            for (int tries = 0; tries < 10 && puzzle.slots[k].IsOccupied() && Pick(8); ++tries)
                k = (k + 1) % 10;
            const SDL_Rect r = puzzle.logs[static_cast<size_t>(Pick(10))].GetRect();
            H::PushMotion(r.x + r.w / 2, r.y + r.h / 2);
            H::PushButton(true, SDL_BUTTON_LEFT, r.x + r.w / 2, r.y + r.h / 2);
            x = 23 + 40 * k - r.w + 1 + Pick(r.w + 1) + r.w / 2;
            y = 376 - r.h + 1 + Pick(3) + r.h / 2;
            H::PushMotion(x, y);
            H::PushButton(false, SDL_BUTTON_LEFT, x, y);
        } else if (roll < 999) { // in the dialog a child mostly presses Return, which goes back
            H::PushKey(inDialog && Pick(2) ? SDLK_RETURN : keys[Pick(8)]);
        } else if (Pick(5) == 0) {
            H::PushQuit();
        }
    }
}

// What must hold between any two frames, whatever the child did.
void CheckInvariants(const cGameEngine& e, const cSerijacijaModel& p)
{
    for (size_t i = 0; i < e.states.size(); ++i)
        ASSERT_EQ(e.states[i] == cGlavniMeni::Instance(), i > 0) << "only the dialog on top";
    ASSERT_EQ(e.RetiredCount(), 0u);
    ASSERT_EQ(p.logs.size(), e.states.at(0) == cSerijacija::Instance() ? 10u : 0u);
    int placed = 0, occupied = 0;
    for (size_t i = 0; i < p.logs.size(); ++i) {
        const cBalvan& log = p.logs[i];
        const cMesto& slot = p.slots.at(log.IsPlaced() ? log.GetSlot() : 0);
        placed += log.IsPlaced();
        occupied += p.slots.at(i).IsOccupied();
        ASSERT_TRUE(!log.IsPlaced() || (slot.IsOccupied() && log.GetRect().x == slot.GetX() - 7));
    }
    ASSERT_TRUE(p.placedCount == placed && placed == occupied) << "counted, placed, occupied";
    ASSERT_EQ(p.puzzleDone, placed == 10);
    ASSERT_TRUE(!p.draggedLog || (p.draggedLog >= p.logs.data() && p.draggedLog <= &p.logs.back()));
}

// A drop heard for each log newly in a slot, the verdict once, only the game's own sounds.
void CheckSounds(const std::string& heard, const cSerijacijaModel& p, std::vector<int>& slotOf,
                 bool& wasDone)
{
    std::vector<int> now;
    for (const cBalvan& log : p.logs)
        now.push_back(log.IsPlaced() ? log.GetSlot() : -1);
    const auto count = [&heard](const std::string& sound) {
        size_t n = 0;
        for (size_t at = heard.find(sound); at != std::string::npos; at = heard.find(sound, at + 1))
            ++n;
        return n;
    };
    ASSERT_EQ(count("unknown"), 0u) << heard;
    if (count("music in") == 0 && now.size() == slotOf.size()) {
        size_t dropped = 0;
        for (size_t i = 0; i < now.size(); ++i)
            dropped += now[i] >= 0 && now[i] != slotOf[i];
        const bool judged = p.puzzleDone && !wasDone, right = p.verdict == cSerijacijaModel::RIGHT;
        ASSERT_EQ(
            std::vector<size_t>({count("ubac.wav"), count("aplauz.wav"), count("ponovo.wav")}),
            std::vector<size_t>({dropped, judged && right, judged && !right}))
            << heard;
    }
    slotOf = now;
    wasDone = p.puzzleDone;
}

TEST(Soak, RandomPlayKeepsTheGameWholeAndItsMemoryFlat)
{
    const char *seedText = getenv("ZAGONETAR_SOAK_SEED"), *length = getenv("ZAGONETAR_SOAK_FRAMES");
    const unsigned seed = seedText ? atol(seedText) : time(nullptr);
    const long frames = length ? atol(length) : 3000;
    fprintf(stderr, "soak: %ld frames, ZAGONETAR_SOAK_SEED=%u\n", frames, seed);
    chance.seed(seed);
    cSerijacija* screen = cSerijacija::Instance();
    screen->shuffleSeed = [] { return static_cast<unsigned>(chance()); };

    auto game = std::make_unique<H>();
    std::vector<long> heap;
    long baseline = -1, restarts = 0;
    std::vector<int> slotOf;
    bool wasDone = false;
    for (long frame = 0; frame < frames && !HasFatalFailure(); ++frame) {
        Act(screen->puzzle, game->engine.states.back() == cGlavniMeni::Instance());
        game->Frames();
        if (!game->engine.Running()) {
            game.reset(); // one engine at a time: SDL is global
            game = std::make_unique<H>();
            baseline = -1;
            ++restarts;
        }
        SCOPED_TRACE("frame " + std::to_string(frame));
        CheckInvariants(game->engine, screen->puzzle);
        CheckSounds(game->Heard(), screen->puzzle, slotOf, wasDone);
        // What the selection holds must not grow, from each run's first visit (restarting the
        // audio leaves some synthesizer behind), in a window (a full screen's surfaces over
        // sdl12-compat are the game's heap) and in silence (the synthesizer allocates as it fades).
        if (game->engine.states.size() == 1 && game->engine.states[0] == cIzbor::Instance() &&
            !game->engine.display.Fullscreen() && !Mix_PlayingMusic()) {
            baseline = baseline < 0 ? HEAP_IN_USE() : baseline;
            heap.push_back(HEAP_IN_USE() - baseline);
        }
    }
    screen->shuffleSeed = cSerijacija::ClockSeconds;
    fprintf(stderr, "soak: %ld restarts, %zu heap samples\n", restarts, heap.size());
    ASSERT_GE(heap.size(), 40u) << "the run hardly reached the selection screen";
    const size_t n = heap.size() / 4; // the last quarter's median against the first's
    auto median = [n](auto i) { return std::nth_element(i, i + n / 2, i + n), i[n / 2]; };
    const long early = std::max(median(heap.begin()), 0L); // or the first visits, if higher
    EXPECT_LT(median(heap.end() - n), early + 64 * 1024) << "the heap grew";
}

} // namespace
