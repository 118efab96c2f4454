// The intro: draws the title screen, hands the mouse to the start button, opens the
// pause dialog on Esc and switches full screen on F11.
#include "screens/cIntro.h"

#include "engine/cGameEngine.h"
#include "screens/cGlavniMeni.h"
#include "widgets/cDugme.h"

cIntro cIntro::instance;

void cIntro::Init(cGameEngine* engine)
{
    background = engine->images.sivo;
    titleImage = engine->images.nazivAplikacije;
    creditImage = engine->images.programer;
    cSoundSet::Play(engine->sounds.odjava);
    objects.push_back(new cDugme(207, 318, 215, 102, engine));
}

void cIntro::Cleanup(cGameEngine* engine)
{
    cGameEngine::Log("cIntro Cleanup");
    // The start button may be the very caller of this Cleanup; it is deleted once
    // the frame's event handling is over.
    for (cObjekat* object : objects)
        engine->Retire(object);
    objects.clear();
}

void cIntro::Pause()
{
    cGameEngine::Log("cIntro Pause");
}

void cIntro::Resume()
{
    cGameEngine::Log("cIntro Resume");
}

void cIntro::HandleEvents(cGameEngine* engine)
{
    // The objects of this frame keep getting its events even after a click has left
    // the intro; they stay alive until this call has returned.
    frameObjects.assign(objects.begin(), objects.end());
    while (SDL_PollEvent(&event)) {
        for (cObjekat* object : frameObjects)
            object->HandleEvent(event, engine);
        if (event.type == SDL_QUIT)
            engine->Quit();
        if (event.type == SDL_KEYDOWN) {
            if (event.key.keysym.sym == SDLK_ESCAPE) {
                // The dialog takes the rest of the frame's input from here on.
                engine->PushState(cGlavniMeni::Instance());
                return;
            } else if (event.key.keysym.sym == SDLK_F11) {
                if (engine->SetDisplayMode(!engine->fullscreen))
                    engine->fullscreen = !engine->fullscreen;
            }
        }
    }
}

void cIntro::Update(cGameEngine*) {}

void cIntro::Draw(cGameEngine* engine)
{
    engine->DrawSurface(0, 0, background, engine->screen);
    engine->DrawSurface(19, 296, creditImage, engine->screen);
    engine->DrawSurface(36, 196, titleImage, engine->screen);
    for (cObjekat* object : objects)
        object->Draw(engine->screen);
}
