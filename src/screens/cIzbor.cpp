// The selection screen's set-up, keys and drawing.
#include "screens/cIzbor.h"

#include "engine/cGameEngine.h"
#include "engine/cLayout.h"
#include "screens/cSerijacija.h"
#include "screens/cSharedKeys.h"
#include "widgets/cIkonica.h"
#include "widgets/cTekst.h"

#include <string>

cIzbor cIzbor::instance;

namespace {

const std::string NAME = "Stapici";

} // namespace

void cIzbor::Init(cGameEngine* engine)
{
    background = engine->images.pejzaz;
    nameText = new cTekst(engine);
    icon = new cIkonica(cLayout::ACTIVITY_ICON, cSerijacija::Instance(), engine);
    fullscreen = false;
    engine->iconHovered = false;
}

void cIzbor::Cleanup(cGameEngine* engine)
{
    cGameEngine::Log("cIzbor Cleanup");
    // The icon is the caller when it starts the puzzle; both go after this frame's events.
    engine->RetireHeld(icon);
    engine->RetireHeld(nameText);
}

void cIzbor::Pause()
{
    cGameEngine::Log("cIzbor Pause");
}

void cIzbor::Resume()
{
    cGameEngine::Log("cIzbor Resume");
}

void cIzbor::HandleEvents(cGameEngine* engine)
{
    while (SDL_PollEvent(&event)) {
        if (icon)
            icon->HandleEvent(event, engine);
        if (cSharedKeys::Handle(event, engine, fullscreen))
            return;
    }
}

void cIzbor::Update(cGameEngine* engine)
{
    // The one stall of decoding the music falls on the frame that first shows the
    // landscape: the click has already sounded, and a new picture takes a moment anyway.
    engine->sounds.DecodeMusic();
}

void cIzbor::Draw(cGameEngine* engine)
{
    engine->DrawSurface(0, 0, background, engine->screen);
    if (engine->iconHovered)
        nameText->DrawText(NAME, cLayout::ACTIVITY_NAME.x, cLayout::ACTIVITY_NAME.y,
                           engine->screen);
    icon->Draw(engine->screen);
}
