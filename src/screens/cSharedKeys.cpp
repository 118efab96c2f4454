// Esc, F11 and the close button, the same on the intro, the selection and the puzzle.
#include "screens/cSharedKeys.h"

#include "engine/cGameEngine.h"
#include "screens/cGlavniMeni.h"

bool cSharedKeys::Handle(const SDL_Event& event, cGameEngine* engine, bool& fullscreen)
{
    if (event.type == SDL_QUIT) {
        engine->Quit();
    } else if (event.type == SDL_KEYDOWN) {
        if (event.key.keysym.sym == SDLK_ESCAPE) {
            engine->PushState(cGlavniMeni::Instance());
            return true;
        }
        if (event.key.keysym.sym == SDLK_F11 && engine->SetDisplayMode(!fullscreen))
            fullscreen = !fullscreen;
    }
    return false;
}
