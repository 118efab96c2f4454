// The pause-and-quit dialog that Esc opens over any screen: yes leaves the game,
// no goes back.
#pragma once

#include "engine/cGameState.h"

#include <SDL.h>

class cGlavniMeni : public cGameState
{
public:
    enum { DA = 0, NE = 1 };

    static cGlavniMeni* Instance() { return &instance; }

    void Init(cGameEngine* engine) override;
    void Cleanup(cGameEngine* engine) override;
    void Pause() override;
    void Resume() override;
    void HandleEvents(cGameEngine* engine) override;
    void Update(cGameEngine* engine) override;
    void Draw(cGameEngine* engine) override;

    SDL_Surface* current = nullptr;
    SDL_Surface* imgDa = nullptr;
    SDL_Surface* imgNe = nullptr;
    SDL_Event event;
    int32_t selection = NE;

private:
    static cGlavniMeni instance;
};
