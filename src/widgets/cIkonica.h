// The activity icon on the landscape: tells its screen while it is hovered (the name
// shows then) and leads to the screen its owner names when clicked.
#pragma once

#include "widgets/cDugmeSprajt.h"

class cGameEngine;
class cGameState;

class cIkonica
{
public:
    cIkonica(const cLayout::cButton& layout, cGameState* target, cGameEngine* engine);

    void HandleEvent(SDL_Event event, cGameEngine* engine);
    void Draw(SDL_Surface* target);

    cDugmeSprajt look;
    cGameState* leadsTo;
};
