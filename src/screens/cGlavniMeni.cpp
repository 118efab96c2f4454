// The dialog's keys: Up and Down flip the answer, Enter confirms it.
#include "screens/cGlavniMeni.h"

#include "engine/cGameEngine.h"
#include "engine/cLayout.h"

cGlavniMeni cGlavniMeni::instance;

void cGlavniMeni::Init(cGameEngine* engine)
{
    // Every opening starts on "no", so a stray Enter never ends the game.
    selection = NE;
    imgDa = engine->images.meniDa;
    imgNe = engine->images.meniNe;
    current = imgNe;
    cGameEngine::Log("cGlavniMeni Init");
}

void cGlavniMeni::Cleanup(cGameEngine*)
{
    cGameEngine::Log("cGlavniMeni cleanup");
}

void cGlavniMeni::Pause()
{
    cGameEngine::Log("cGlavniMeni Pause");
}

void cGlavniMeni::Resume()
{
    cGameEngine::Log("cGlavniMeni Resume");
}

void cGlavniMeni::HandleEvents(cGameEngine* engine)
{
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            engine->Quit();
        } else if (event.type == SDL_KEYDOWN) {
            switch (event.key.keysym.sym) {
            case SDLK_DOWN:
                selection += 1;
                if (selection == 2)
                    selection = 0;
                break;
            case SDLK_UP:
                selection -= 1;
                if (selection == -1)
                    selection = 1;
                break;
            case SDLK_RETURN:
                if (selection == NE) {
                    // Once the dialog has closed itself the rest of the queue belongs
                    // to the screen below: a second Enter must not pop that too.
                    // With nothing below, the dialog stays: the game needs a screen.
                    if (engine->states.size() > 1) {
                        engine->PopState();
                        return;
                    }
                }
                if (selection == DA)
                    engine->Quit();
                break;
            default:
                break;
            }
        }
    }
}

void cGlavniMeni::Update(cGameEngine*)
{
    if (selection == DA)
        current = imgDa;
    else if (selection == NE)
        current = imgNe;
}

void cGlavniMeni::Draw(cGameEngine* engine)
{
    // Only the dialog: the covered screen's last frame stays around it.
    engine->DrawSurface(cLayout::DIALOG.x, cLayout::DIALOG.y, current, engine->screen);
}
