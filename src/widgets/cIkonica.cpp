// The activity icon's reaction to the mouse.
#include "widgets/cIkonica.h"

#include "engine/cGameEngine.h"
#include "screens/cSerijacija.h"

cIkonica::cIkonica(int x, int y, int w, int h, cGameEngine* engine)
    : look(engine->images.serijacijaIkonicaSprajtmapa, 47, 37, x, y, w, h)
{
}

void cIkonica::HandleEvent(SDL_Event event, cGameEngine* engine)
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        // The selection screen writes the activity's name while this is set.
        engine->iconHovered = look.Motion(event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT)
            look.Press(event.button.x, event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && look.Inside(event.button.x, event.button.y)) {
            engine->ChangeState(cSerijacija::Instance());
            look.Released();
            cSoundSet::Play(engine->sounds.klik);
        }
        break;
    }
}

void cIkonica::Draw(SDL_Surface* target)
{
    look.Draw(target);
}
