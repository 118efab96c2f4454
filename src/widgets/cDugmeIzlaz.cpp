// The exit button: unlike the other buttons it arms on any left press, disarms on any
// left release, and clicks before it changes the screen.
#include "widgets/cDugmeIzlaz.h"

#include "engine/cGameEngine.h"

cDugmeIzlaz::cDugmeIzlaz(const cLayout::cButton& layout, cGameState* target, cGameEngine* engine)
    : look(engine->images.dugmeIzlazSprajtmapa, layout), leadsTo(target)
{
    look.armsAnywhere = true;
}

void cDugmeIzlaz::HandleEvent(SDL_Event event, cGameEngine* engine)
{
    if (look.HandleEvent(event) == cDugmeSprajt::CLICKED) {
        engine->sounds.Play(engine->sounds.klik);
        engine->ChangeState(leadsTo);
    }
}

void cDugmeIzlaz::Draw(SDL_Surface* target)
{
    look.Draw(target);
}
