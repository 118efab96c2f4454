// The activity icon on the landscape: shows the activity's name while hovered and
// starts the log puzzle when clicked.
#pragma once

#include "widgets/cDugmeSprajt.h"

class cGameEngine;

class cIkonica
{
public:
    cIkonica(int x, int y, int w, int h, cGameEngine* engine);

    void HandleEvent(SDL_Event event, cGameEngine* engine);
    void Draw(SDL_Surface* target);

    cDugmeSprajt look;
};
