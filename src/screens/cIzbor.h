// The activity selection: a landscape with the log puzzle's icon, whose name shows
// while the pointer rests on it.
#pragma once

#include "engine/cGameState.h"

#include <SDL.h>

class cIkonica;
class cTekst;

class cIzbor : public cGameState
{
public:
    static cIzbor* Instance() { return &instance; }

    void Init(cGameEngine* engine) override;
    void Cleanup(cGameEngine* engine) override;
    void Pause() override;
    void Resume() override;
    void HandleEvents(cGameEngine* engine) override;
    void Update(cGameEngine* engine) override;
    void Draw(cGameEngine* engine) override;

    cIkonica* icon = nullptr;
    SDL_Surface* background = nullptr;
    SDL_Event event;
    cTekst* nameText = nullptr;
    // This screen's own idea of the display mode; the first F11 after entering always
    // asks for full screen.
    bool fullscreen = false;

private:
    static cIzbor instance;
};
