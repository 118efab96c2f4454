// The start button's reaction to the mouse.
#include "widgets/cDugme.h"

#include "engine/cGameEngine.h"
#include "screens/cIzbor.h"

cDugme::cDugme(int x, int y, int w, int h, cGameEngine* engine)
    : look(engine->images.startSprajtmapa, 215, 102, x, y, w, h)
{
    cGameEngine::Log("cDugme Init");
}

void cDugme::HandleEvent(SDL_Event event, cGameEngine* engine)
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        look.Motion(event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT)
            look.Press(event.button.x, event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        // A release inside acts even when the press began elsewhere.
        if (event.button.button == SDL_BUTTON_LEFT && look.Inside(event.button.x, event.button.y)) {
            engine->ChangeState(cIzbor::Instance());
            look.Released();
            cSoundSet::Play(engine->sounds.klik);
        }
        break;
    }
}

void cDugme::Draw(SDL_Surface* target)
{
    look.Draw(target);
}
