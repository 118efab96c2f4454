// Setting up a puzzle, the puzzle's mouse and keys, its sounds and its drawing.
#include "screens/cSerijacija.h"

#include "engine/cGameEngine.h"
#include "engine/cLayout.h"
#include "screens/cIzbor.h"
#include "screens/cSharedKeys.h"
#include "widgets/cDugmeIzlaz.h"
#include "widgets/cTekst.h"

#include <ctime>

cSerijacija cSerijacija::instance;

namespace {

const std::string BRAVO = "Bravo!";
const std::string GRESKA = "Greska!";
const std::string NO_VERDICT;
const std::string HINT = "Pritisni desni taster misa";
const std::string HINT_ONE_BUTTON = "Klikni za novu igru";

} // namespace

uint32_t cSerijacija::LettersShown(uint32_t shown, uint32_t frame, size_t length)
{
    return (frame & 1) == 0 && shown < length ? shown + 1 : shown;
}

const std::string& cSerijacija::VerdictText(cSerijacijaModel::eVerdict verdict)
{
    switch (verdict) {
    case cSerijacijaModel::RIGHT:
        return BRAVO;
    case cSerijacijaModel::WRONG:
        return GRESKA;
    case cSerijacijaModel::NONE:
        break;
    }
    return NO_VERDICT;
}

unsigned cSerijacija::ClockSeconds()
{
    return static_cast<unsigned>(time(nullptr));
}

void cSerijacija::Init(cGameEngine* engine)
{
    background = engine->images.sssBezBalvana;
    exitButton = new cDugmeIzlaz(cLayout::EXIT_BUTTON, cIzbor::Instance(), engine);
    puzzle.Setup(shuffleSeed());
    puzzle.oneButton = engine->oneButton;
    engine->sounds.StartMusic(1000);
    fullscreen = false;
    timer.Start();
    verdictText = new cTekst(engine);
    hintText = new cTekst(engine);
    lettersShown = 0;
    hintShown = false;
}

void cSerijacija::Cleanup(cGameEngine* engine)
{
    cGameEngine::Log("cSerijacija Cleanup");
    timer.Stop();
    puzzle.Clear();
    // The exit button may be the caller, and this frame's remaining events still reach
    // it: it goes once the event handling has returned.
    engine->RetireHeld(exitButton);
    engine->RetireHeld(verdictText);
    engine->RetireHeld(hintText);
    engine->sounds.FadeOutMusic(1000);
}

void cSerijacija::Pause()
{
    cGameEngine::Log("cSerijacija Pause");
}

void cSerijacija::Resume()
{
    cGameEngine::Log("cSerijacija Resume");
}

void cSerijacija::HandleEvents(cGameEngine* engine)
{
    // Read once: the logs rest when the row is judged, and right button or Return
    // starts anew instead of Space.
    const bool done = puzzle.puzzleDone;
    while (SDL_PollEvent(&event)) {
        exitButton->HandleEvent(event, engine);
        if (!done)
            HandleLogMouse(event);
        if (cSharedKeys::Handle(event, engine, fullscreen))
            return;
        const bool again =
            event.type == SDL_KEYDOWN && event.key.keysym.sym == (done ? SDLK_RETURN : SDLK_SPACE);
        const bool rightClick =
            done && event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_RIGHT;
        // With one button, a left click anywhere but on the exit button, which leaves.
        const bool leftClick = puzzle.LeftClickStartsAnew() && event.type == SDL_MOUSEBUTTONDOWN &&
                               event.button.button == SDL_BUTTON_LEFT &&
                               !exitButton->look.Inside(event.button.x, event.button.y);
        if (again || rightClick || leftClick)
            engine->ChangeState(cSerijacija::Instance());
    }
}

void cSerijacija::HandleLogMouse(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT)
            puzzle.LeftPress(event.button.x, event.button.y);
        else if (event.button.button == SDL_BUTTON_RIGHT)
            puzzle.RightPress(event.button.x, event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT)
            puzzle.LeftRelease(event.button.x, event.button.y);
        break;
    case SDL_MOUSEMOTION:
        puzzle.Motion(event.motion.x, event.motion.y);
        break;
    default:
        break;
    }
}

void cSerijacija::Update(cGameEngine* engine)
{
    const cSerijacijaModel::cReport report = puzzle.Step();
    for (int i = 0; i < report.droppedCount; ++i)
        engine->sounds.Play(engine->sounds.ubac);
    if (report.judged != cSerijacijaModel::NONE) {
        engine->sounds.FadeOutMusic(100);
        engine->sounds.Play(report.judged == cSerijacijaModel::RIGHT ? engine->sounds.aplauz
                                                                     : engine->sounds.ponovo);
    }
    if (puzzle.puzzleDone) {
        lettersShown =
            LettersShown(lettersShown, engine->frameCount, VerdictText(puzzle.verdict).size());
        hintShown = HintShown(timer.GetTicks());
    }
}

void cSerijacija::Draw(cGameEngine* engine)
{
    SDL_Surface* screen = engine->screen;
    engine->DrawSurface(0, 0, background, screen);
    exitButton->Draw(screen);
    // Every flower shows, the occupied ones too: a log stands in front of its flower.
    for (const cMesto& slot : puzzle.slots)
        engine->DrawSurface(slot.GetX(), slot.GetY(), engine->images.cvet, screen);
    for (const cBalvan& log : puzzle.logs) {
        // The blit writes the clipped size into its destination; the log's own rect
        // must stay as the drop rule knows it.
        SDL_Rect at{log.GetRect().x, log.GetRect().y, 0, 0};
        SDL_Rect from = log.Frame();
        SDL_BlitSurface(engine->images.balvaniSprajtmapa, &from, screen, &at);
    }
    if (puzzle.puzzleDone) {
        verdictText->DrawText(VerdictText(puzzle.verdict), cLayout::VERDICT.x, cLayout::VERDICT.y,
                              screen, lettersShown);
        if (hintShown)
            hintText->DrawText(puzzle.oneButton ? HINT_ONE_BUTTON : HINT, cLayout::HINT.x,
                               cLayout::HINT.y, screen);
    }
}
