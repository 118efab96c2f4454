// The puzzle's exit button: leads to the screen its owner names.
#pragma once

#include "widgets/cDugmeSprajt.h"

class cGameEngine;
class cGameState;

class cDugmeIzlaz
{
public:
    cDugmeIzlaz(const cLayout::cButton& layout, cGameState* target, cGameEngine* engine);

    void HandleEvent(SDL_Event event, cGameEngine* engine);
    void Draw(SDL_Surface* target);

    cDugmeSprajt look;
    cGameState* leadsTo;
};
