// The exit button's reaction to the mouse. Unlike the other buttons it arms on any
// left press, disarms on any left release, and clicks before it changes the screen.
#include "widgets/cDugmeIzlaz.h"

#include "engine/cGameEngine.h"
#include "screens/cIzbor.h"

cDugmeIzlaz::cDugmeIzlaz(int x, int y, int w, int h, cGameEngine* engine)
    : look(engine->images.dugmeIzlazSprajtmapa, 89, 75, x, y, w, h)
{
}

void cDugmeIzlaz::HandleEvent(SDL_Event event, cGameEngine* engine)
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        look.Motion(event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) {
            look.pressed = true;
            if (look.Inside(event.button.x, event.button.y))
                look.current = &look.pressedFrame;
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT) {
            look.pressed = false;
            if (look.Inside(event.button.x, event.button.y)) {
                look.current = &look.hoverFrame;
                cSoundSet::Play(engine->sounds.klik);
                engine->ChangeState(cIzbor::Instance());
            }
        }
        break;
    }
}

void cDugmeIzlaz::Draw(SDL_Surface* target)
{
    look.Draw(target);
}
