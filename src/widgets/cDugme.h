// The intro's big start button: a click leads to the activity selection.
#pragma once

#include "widgets/cDugmeSprajt.h"
#include "widgets/cObjekat.h"

class cDugme : public cObjekat
{
public:
    cDugme(int x, int y, int w, int h, cGameEngine* engine);

    void HandleEvent(SDL_Event event, cGameEngine* engine) override;
    void Draw(SDL_Surface* target) override;

    cDugmeSprajt look;
};
