// The intro: draws the title screen and hands the mouse to the start button.
#include "screens/cIntro.h"

#include "engine/cGameEngine.h"
#include "engine/cLayout.h"
#include "screens/cIzbor.h"
#include "screens/cSharedKeys.h"
#include "widgets/cDugme.h"

cIntro cIntro::instance;

void cIntro::Init(cGameEngine* engine)
{
    background = engine->images.sivo;
    titleImage = engine->images.nazivAplikacije;
    creditImage = engine->images.programer;
    engine->sounds.Play(engine->sounds.odjava);
    objects.push_back(new cDugme(cLayout::START_BUTTON, cIzbor::Instance(), engine));
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
        // The intro keeps its idea of the display mode on the engine, so it lasts.
        if (cSharedKeys::Handle(event, engine, engine->fullscreen))
            return;
    }
}

void cIntro::Update(cGameEngine*) {}

void cIntro::Draw(cGameEngine* engine)
{
    engine->DrawSurface(0, 0, background, engine->screen);
    engine->DrawSurface(cLayout::CREDIT.x, cLayout::CREDIT.y, creditImage, engine->screen);
    engine->DrawSurface(cLayout::TITLE.x, cLayout::TITLE.y, titleImage, engine->screen);
    for (cObjekat* object : objects)
        object->Draw(engine->screen);
}
