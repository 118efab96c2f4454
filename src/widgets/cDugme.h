// The intro's big start button: a click leads to the screen its owner names.
#pragma once

#include "widgets/cDugmeSprajt.h"
#include "widgets/cObjekat.h"

class cGameState;

class cDugme : public cObjekat
{
public:
    cDugme(const cLayout::cButton& layout, cGameState* target, cGameEngine* engine);

    void HandleEvent(SDL_Event event, cGameEngine* engine) override;
    void Draw(SDL_Surface* target) override;

    cDugmeSprajt look;
    cGameState* leadsTo;
};
