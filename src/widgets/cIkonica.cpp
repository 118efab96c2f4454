// The activity icon: every motion tells the engine whether it is hovered.
#include "widgets/cIkonica.h"

#include "engine/cGameEngine.h"

cIkonica::cIkonica(const cLayout::cButton& layout, cGameState* target, cGameEngine* engine)
    : look(engine->images.serijacijaIkonicaSprajtmapa, layout), leadsTo(target)
{
}

void cIkonica::HandleEvent(SDL_Event event, cGameEngine* engine)
{
    switch (look.HandleEvent(event)) {
    case cDugmeSprajt::MOVED:
        engine->iconHovered = look.hovered;
        break;
    case cDugmeSprajt::CLICKED:
        engine->ChangeState(leadsTo);
        engine->sounds.Play(engine->sounds.klik);
        break;
    case cDugmeSprajt::NOTHING:
        break;
    }
}

void cIkonica::Draw(SDL_Surface* target)
{
    look.Draw(target);
}
