// The first screen: title, credit and the big start button on a grey backdrop.
#pragma once

#include "engine/cGameState.h"

#include <SDL.h>
#include <list>
#include <vector>

class cObjekat;

class cIntro : public cGameState
{
public:
    static cIntro* Instance() { return &instance; }

    void Init(cGameEngine* engine) override;
    void Cleanup(cGameEngine* engine) override;
    void Pause() override;
    void Resume() override;
    void HandleEvents(cGameEngine* engine) override;
    void Update(cGameEngine* engine) override;
    void Draw(cGameEngine* engine) override;

    SDL_Surface* background = nullptr;
    SDL_Surface* titleImage = nullptr;
    SDL_Surface* creditImage = nullptr;
    std::list<cObjekat*> objects;
    // The objects as this frame began, reused from frame to frame.
    std::vector<cObjekat*> frameObjects;
    SDL_Event event;

private:
    static cIntro instance;
};
