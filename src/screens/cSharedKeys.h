// The keys every screen but the dialog shares: Esc opens the pause dialog, F11 switches
// between a window and full screen, and the window's close button ends the game.
#pragma once

#include <SDL.h>

class cGameEngine;

class cSharedKeys
{
public:
    // Acts on `event` if it is one of these. `fullscreen` is the calling screen's own idea
    // of the display mode, flipped only when the switch succeeds. Returns true once Esc
    // has opened the dialog: the caller then stops reading events, because the dialog
    // takes the rest of the frame's input.
    static bool Handle(const SDL_Event& event, cGameEngine* engine, bool& fullscreen);
};
