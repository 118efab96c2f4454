// The log puzzle's rules: the shuffle, dragging, dropping, taking back and judging.
#include "screens/cSerijacijaModel.h"

#include <cstdlib>
#include <utility>

bool cSerijacijaModel::RectsOverlap(const SDL_Rect& a, const SDL_Rect& b)
{
    const int ax = a.x, ay = a.y, aw = a.w, ah = a.h;
    const int bx = b.x, by = b.y, bw = b.w, bh = b.h;
    return ay + ah > by && ay < by + bh && ax + aw > bx && ax < bx + bw;
}

bool cSerijacijaModel::IsOrderCorrect() const
{
    for (const cBalvan& log : logs)
        if (log.GetSlot() != log.GetTarget())
            return false;
    return true;
}

void cSerijacijaModel::ShuffleColumns(int columns[COLUMN_COUNT])
{
    for (int i = 0; i < COLUMN_COUNT; ++i)
        columns[i] = cLayout::ColumnX(i);
    for (int i = 0; i < COLUMN_COUNT; ++i)
        std::swap(columns[i], columns[rand() % COLUMN_COUNT]);
}

void cSerijacijaModel::Setup(unsigned seed)
{
    Clear();
    for (int k = 0; k < COLUMN_COUNT; ++k) {
        slots.emplace_back();
        slots.back().Setup(cLayout::SlotX(k), cLayout::SLOT_Y, k);
    }
    int columns[COLUMN_COUNT];
    srand(seed);
    ShuffleColumns(columns);
    // Filled once and never grown: draggedLog points into it.
    logs.resize(COLUMN_COUNT);
    for (int i = 0; i < COLUMN_COUNT; ++i)
        logs[i].Setup(columns[i], cLayout::LOG_TOP, &cLayout::LOG_FRAMES[i], COLUMN_COUNT - 1 - i);
}

void cSerijacijaModel::Clear()
{
    draggedLog = nullptr;
    carrying = false;
    slots.clear();
    logs.clear();
    placedCount = 0;
    puzzleDone = false;
    dragging = false;
    verdict = NONE;
}

void cSerijacijaModel::LeftPress(int x, int y)
{
    if (puzzleDone)
        return;
    if (oneButton && carrying) { // the click that lets a carried log go
        carrying = dragging = false;
        draggedLog = nullptr;
        return;
    }
    cBalvan* hit = nullptr;
    // The last log hit is the one drawn on top.
    for (cBalvan& log : logs)
        if (log.Contains(x, y))
            hit = &log;
    if (!oneButton) {
        dragging = true;
        draggedLog = hit ? hit : draggedLog;
        return;
    }
    // With one button a press on empty ground takes nothing and holds nothing back.
    if (!hit)
        return;
    if (hit->IsPlaced()) {
        hit->Lift();
        slots[hit->GetSlot()].Vacate();
        hit->SetSlot(-1);
        placedCount -= 1;
    }
    dragging = true;
    draggedLog = hit;
    pressX = x;
    pressY = y;
}

void cSerijacijaModel::LeftRelease(int x, int y)
{
    if (puzzleDone || !draggedLog)
        return;
    if (oneButton && std::abs(x - pressX) <= CLICK_SLOP && std::abs(y - pressY) <= CLICK_SLOP) {
        carrying = true; // a click: the log stays with the pointer
        return;
    }
    dragging = false;
    draggedLog = nullptr;
}

void cSerijacijaModel::Motion(int x, int y)
{
    if (puzzleDone || !dragging || !draggedLog || draggedLog->IsPlaced())
        return;
    draggedLog->SetPosition(x - draggedLog->FrameWidth() / 2, y - draggedLog->FrameHeight() / 2);
}

void cSerijacijaModel::RightPress(int x, int y)
{
    if (puzzleDone)
        return;
    for (cBalvan& log : logs) {
        if (log.IsPlaced() && log.Contains(x, y)) {
            log.ReturnHome();
            slots[log.GetSlot()].Vacate();
            placedCount -= 1;
        }
    }
}

cSerijacijaModel::cReport cSerijacijaModel::Step()
{
    cReport report{{}, 0, NONE};
    if (puzzleDone || dragging)
        return report;
    for (size_t i = 0; i < logs.size(); ++i) {
        cBalvan& log = logs[i];
        for (cMesto& slot : slots) {
            // An occupied slot's empty rect can still "overlap" from inside a log, so
            // the occupied test is what keeps a second log out.
            if (!RectsOverlap(log.GetRect(), slot.GetRect()) || slot.IsOccupied())
                continue;
            log.SetSlot(slot.GetIndex());
            log.SetPosition(slot.GetX() - cLayout::DROP_LEFT,
                            slot.GetY() - cLayout::DROP_ABOVE - log.FrameHeight());
            slot.Occupy();
            log.SetPlaced();
            placedCount += 1;
            if (report.droppedCount < COLUMN_COUNT)
                report.dropped[report.droppedCount++] = static_cast<int>(i);
        }
    }
    if (placedCount == COLUMN_COUNT) {
        puzzleDone = true;
        verdict = IsOrderCorrect() ? RIGHT : WRONG;
        report.judged = verdict;
    }
    return report;
}
