// The puzzle's exit button: leads back to the landscape.
#pragma once

#include "widgets/cDugmeSprajt.h"

class cGameEngine;

class cDugmeIzlaz
{
public:
    cDugmeIzlaz(int x, int y, int w, int h, cGameEngine* engine);

    void HandleEvent(SDL_Event event, cGameEngine* engine);
    void Draw(SDL_Surface* target);

    cDugmeSprajt look;
};
