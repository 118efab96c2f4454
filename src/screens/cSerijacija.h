// The log seriation puzzle: ten logs to drag onto ten flowers, shortest at the left.
#pragma once

#include "engine/cGameState.h"
#include "engine/cTimer.h"

#include <SDL.h>
#include <vector>

class cBalvan;
class cDugmeIzlaz;
class cTekst;

class cSerijacija : public cGameState
{
public:
    static const int COLUMN_COUNT = 10;
    static const int LOG_TOP = 48;
    static const int SLOT_Y = 376;

    static cSerijacija* Instance() { return &instance; }

    void Init(cGameEngine* engine) override;
    void Cleanup(cGameEngine* engine) override;
    void Pause() override;
    void Resume() override;
    void HandleEvents(cGameEngine* engine) override;
    void Update(cGameEngine* engine) override;
    void Draw(cGameEngine* engine) override;

    void HandleLogMouse(const SDL_Event& event, cGameEngine* engine);

    // The puzzle's rules, free of any window.
    // Overlap with a positive area; rectangles that only touch do not overlap.
    static bool RectsOverlap(const SDL_Rect& a, const SDL_Rect& b);
    // Every log stands in the slot it belongs in.
    static bool IsOrderCorrect(const std::vector<cBalvan*>& logs);
    // Starting columns 30, 80, ..., 480, each swapped with a place drawn by rand() % 10.
    static void ShuffleColumns(int columns[COLUMN_COUNT]);
    // The x of slot k's flower.
    static int SlotX(int k) { return 23 + 40 * k; }

    // Where each new puzzle's shuffle is seeded from: the clock in whole seconds. A test
    // that must replay a run exactly puts its own source here.
    unsigned (*shuffleSeed)() = ClockSeconds;
    static unsigned ClockSeconds();

    SDL_Surface* background = nullptr;
    SDL_Event event;
    // This screen's own idea of the display mode, cleared by every new puzzle.
    bool fullscreen = false;
    cTimer timer;
    cDugmeIzlaz* exitButton = nullptr;
    cTekst* verdictText = nullptr;
    cTekst* hintText = nullptr;

private:
    void ToggleDisplayMode(cGameEngine* engine);

    static cSerijacija instance;
};
