// The log seriation puzzle's screen: ten logs to drag onto ten flowers, shortest at the
// left. The rules live in cSerijacijaModel; this screen feeds it the mouse and turns
// what it reports into sounds, music and pictures.
#pragma once

#include "engine/cGameState.h"
#include "engine/cTimer.h"
#include "screens/cSerijacijaModel.h"

#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <string>

class cDugmeIzlaz;
class cTekst;

class cSerijacija : public cGameState
{
public:
    static cSerijacija* Instance() { return &instance; }

    void Init(cGameEngine* engine) override;
    void Cleanup(cGameEngine* engine) override;
    void Pause() override;
    void Resume() override;
    void HandleEvents(cGameEngine* engine) override;
    void Update(cGameEngine* engine) override;
    void Draw(cGameEngine* engine) override;

    // The verdict types itself out: one more letter on every even frame.
    static uint32_t LettersShown(uint32_t shown, uint32_t frame, size_t length);
    // The hint shows during the second half of every 2048 ms, counted from the set-up.
    static bool HintShown(int32_t ticks) { return (ticks & 0x400) != 0; }
    // "Bravo!" or "Greska!" once the row is judged, empty before.
    static const std::string& VerdictText(cSerijacijaModel::eVerdict verdict);

    // Where each new puzzle's shuffle is seeded from: the clock in whole seconds, so
    // puzzles set up within one second look the same. A test that must replay a run
    // exactly puts its own source here.
    unsigned (*shuffleSeed)() = ClockSeconds;
    static unsigned ClockSeconds();

    cSerijacijaModel puzzle;
    SDL_Surface* background = nullptr;
    SDL_Event event;
    // This screen's own idea of the display mode, cleared by every new puzzle.
    bool fullscreen = false;
    cTimer timer;
    cDugmeIzlaz* exitButton = nullptr;
    cTekst* verdictText = nullptr;
    cTekst* hintText = nullptr;
    uint32_t lettersShown = 0;
    bool hintShown = false;

private:
    // The mouse while the puzzle is on, handed to the model.
    void HandleLogMouse(const SDL_Event& event);

    static cSerijacija instance;
};
