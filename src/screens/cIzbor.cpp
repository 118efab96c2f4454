// The selection screen's set-up, keys and drawing.
#include "screens/cIzbor.h"

#include "engine/cGameEngine.h"
#include "screens/cGlavniMeni.h"
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
    // The hit area is a pixel smaller than the 47 x 37 frame on the right and bottom.
    icon = new cIkonica(251, 47, 45, 35, engine);
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
        if (event.type == SDL_QUIT)
            engine->Quit();
        if (event.type == SDL_KEYDOWN) {
            if (event.key.keysym.sym == SDLK_ESCAPE) {
                // The dialog takes the rest of the frame's input from here on.
                engine->PushState(cGlavniMeni::Instance());
                return;
            } else if (event.key.keysym.sym == SDLK_F11) {
                if (engine->SetDisplayMode(!fullscreen))
                    fullscreen = !fullscreen;
            }
        }
    }
}

void cIzbor::Update(cGameEngine*) {}

void cIzbor::Draw(cGameEngine* engine)
{
    engine->DrawSurface(0, 0, background, engine->screen);
    if (engine->iconHovered)
        nameText->DrawText(NAME, 208, 243, engine->screen);
    icon->Draw(engine->screen);
}
