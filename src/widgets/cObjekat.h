// Something on a screen that reacts to input and draws itself once per frame.
#pragma once

#include <SDL.h>

class cGameEngine;

class cObjekat
{
public:
    virtual void HandleEvent(SDL_Event event, cGameEngine* engine) = 0;
    virtual void Draw(SDL_Surface* target) = 0;

    virtual ~cObjekat() = default;
};
