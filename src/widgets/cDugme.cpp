// The start button: it announces itself, and changes the screen before it clicks.
#include "widgets/cDugme.h"

#include "engine/cGameEngine.h"

cDugme::cDugme(const cLayout::cButton& layout, cGameState* target, cGameEngine* engine)
    : look(engine->images.startSprajtmapa, layout), leadsTo(target)
{
    cGameEngine::Log("cDugme Init");
}

void cDugme::HandleEvent(SDL_Event event, cGameEngine* engine)
{
    if (look.HandleEvent(event) == cDugmeSprajt::CLICKED) {
        engine->ChangeState(leadsTo);
        engine->sounds.Play(engine->sounds.klik);
    }
}

void cDugme::Draw(SDL_Surface* target)
{
    look.Draw(target);
}
