// The log puzzle's state and rules, apart from any window: where the ten logs and the
// ten flowers are, what the pointer does to them, when a log drops into a slot and
// whether the finished row is right. The puzzle screen feeds it pointer positions and
// turns its reports into sounds and pictures.
#pragma once

#include "engine/cLayout.h"
#include "screens/cBalvan.h"
#include "screens/cMesto.h"

#include <SDL.h>
#include <vector>

class cSerijacijaModel
{
public:
    static const int COLUMN_COUNT = cLayout::COLUMN_COUNT;

    enum eVerdict { NONE, RIGHT, WRONG };

    // What one Step settled.
    struct cReport
    {
        // The logs that dropped into a slot, in the order they dropped.
        int dropped[COLUMN_COUNT];
        int droppedCount;
        // RIGHT or WRONG on the step that placed the tenth log, NONE otherwise.
        eVerdict judged;
    };

    cSerijacijaModel() = default;
    cSerijacijaModel(const cSerijacijaModel&) = delete;
    cSerijacijaModel& operator=(const cSerijacijaModel&) = delete;

    // A new puzzle: the logs stand in shuffled columns (rand() seeded with `seed`), the
    // tallest log belonging in the rightmost slot, every slot free.
    void Setup(unsigned seed);
    // No logs and no slots: the puzzle screen has been left.
    void Clear();

    // The pointer, in screen coordinates.
    void LeftPress(int x, int y);
    void LeftRelease(int x, int y);
    void Motion(int x, int y);
    void RightPress(int x, int y);
    // With one button (and on a touch screen), a click is as good as a drag: see oneButton.
    // Once the row is judged, such a left click starts a new puzzle.
    bool LeftClickStartsAnew() const { return oneButton && puzzleDone; }

    // Once a frame: while no drag is on, every log touching a free slot drops into it;
    // with the tenth log in place the row is judged.
    cReport Step();

    // Overlap with a positive area; rectangles that only touch do not overlap.
    static bool RectsOverlap(const SDL_Rect& a, const SDL_Rect& b);
    // Every log stands in the slot it belongs in.
    bool IsOrderCorrect() const;
    // Starting columns 30, 80, ..., 480, each swapped with a place drawn by rand() % 10.
    static void ShuffleColumns(int columns[COLUMN_COUNT]);

    std::vector<cMesto> slots;
    std::vector<cBalvan> logs;
    cBalvan* draggedLog = nullptr;
    int32_t placedCount = 0;
    bool puzzleDone = false;
    // Set by any left press, even over empty ground, and cleared only by a release that
    // ends a log's drag: until then no log drops.
    bool dragging = false;
    eVerdict verdict = NONE;

    // Play with one button, no holding needed. A left press on a log takes it up, lifting
    // it out of its flower if it stands in one. Released after real movement, the log is
    // let go as in a drag; released where it was pressed (a click or a tap), it is carried:
    // it follows the pointer with no button held, and the next left press lets it go
    // there, never taking up another. Set by the screen for a whole puzzle.
    bool oneButton = false;
    // A log taken up by a click follows the pointer with no button held.
    bool carrying = false;
    // How far the pointer may move between press and release for a click.
    static const int CLICK_SLOP = 4;

private:
    int pressX = 0, pressY = 0;
};
