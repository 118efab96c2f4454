// Setting up a puzzle, dropping logs into slots, judging the row, and the puzzle's
// mouse, keys and drawing.
#include "screens/cSerijacija.h"

#include "engine/cGameEngine.h"
#include "screens/cBalvan.h"
#include "screens/cGlavniMeni.h"
#include "screens/cMesto.h"
#include "widgets/cDugmeIzlaz.h"
#include "widgets/cTekst.h"

#include <SDL_mixer.h>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>

cSerijacija cSerijacija::instance;

namespace {

const std::string BRAVO = "Bravo!";
const std::string GRESKA = "Greska!";
const std::string HINT = "Pritisni desni taster misa";

} // namespace

bool cSerijacija::RectsOverlap(const SDL_Rect& a, const SDL_Rect& b)
{
    const int ax = a.x, ay = a.y, aw = a.w, ah = a.h;
    const int bx = b.x, by = b.y, bw = b.w, bh = b.h;
    return ay + ah > by && ay < by + bh && ax + aw > bx && ax < bx + bw;
}

bool cSerijacija::IsOrderCorrect(const std::vector<cBalvan*>& logs)
{
    for (const cBalvan* log : logs)
        if (log->GetSlot() != log->GetTarget())
            return false;
    return true;
}

void cSerijacija::ShuffleColumns(int columns[COLUMN_COUNT])
{
    for (int i = 0; i < COLUMN_COUNT; ++i)
        columns[i] = 30 + 50 * i;
    for (int i = 0; i < COLUMN_COUNT; ++i)
        std::swap(columns[i], columns[rand() % COLUMN_COUNT]);
}

unsigned cSerijacija::ClockSeconds()
{
    return static_cast<unsigned>(time(nullptr));
}

void cSerijacija::Init(cGameEngine* engine)
{
    background = engine->images.sssBezBalvana;
    for (int k = 0; k < COLUMN_COUNT; ++k) {
        cMesto* slot = new cMesto;
        slot->Setup(SlotX(k), SLOT_Y, k, engine);
        engine->slots.push_back(slot);
    }
    exitButton = new cDugmeIzlaz(532, 19, 89, 75, engine);

    // Seeded with whole seconds: puzzles set up within one second look the same.
    int columns[COLUMN_COUNT];
    srand(shuffleSeed());
    ShuffleColumns(columns);
    for (int i = 0; i < cGameEngine::LOG_COUNT; ++i) {
        engine->lastLog = new cBalvan;
        engine->lastLog->SetFrame(&engine->logClips[i]);
        engine->lastLog->Setup(columns[i], LOG_TOP, engine->logClips[i].w, engine->logClips[i].h,
                               9 - i, engine);
        engine->logs.push_back(engine->lastLog);
    }

    Mix_FadeInMusic(engine->sounds.aladin, -1, 1000);
    engine->placedCount = 0;
    fullscreen = false;
    engine->dragging = false;
    engine->puzzleDone = false;
    timer.Start();
    verdictText = new cTekst(engine);
    hintText = new cTekst(engine);
}

void cSerijacija::Cleanup(cGameEngine* engine)
{
    cGameEngine::Log("cSerijacija Cleanup");
    timer.Stop();
    engine->draggedLog = nullptr;
    engine->lastLog = nullptr;
    // The exit button may be the caller, and this frame's remaining events still
    // reach it: everything goes once the event handling has returned.
    for (cMesto* slot : engine->slots)
        engine->Retire(slot);
    for (cBalvan* log : engine->logs)
        engine->Retire(log);
    engine->slots.clear();
    engine->logs.clear();
    engine->RetireHeld(exitButton);
    engine->RetireHeld(verdictText);
    engine->RetireHeld(hintText);
    Mix_FadeOutMusic(1000);
}

void cSerijacija::Pause()
{
    cGameEngine::Log("cSerijacija Pause");
}

void cSerijacija::Resume()
{
    cGameEngine::Log("cSerijacija Resume");
}

void cSerijacija::Update(cGameEngine* engine)
{
    if (engine->puzzleDone || engine->dragging)
        return;
    for (cBalvan* log : engine->logs) {
        for (cMesto* slot : engine->slots) {
            // An occupied slot's empty rect can still "overlap" from inside a log,
            // so the occupied test is what keeps a second log out.
            if (!RectsOverlap(log->GetRect(), slot->GetRect()) || slot->IsOccupied())
                continue;
            cSoundSet::Play(engine->sounds.ubac);
            log->SetSlot(slot->GetIndex());
            log->SetPosition(slot->GetX() - 7, slot->GetY() - 3 - log->FrameHeight());
            slot->Occupy();
            log->SetPlaced();
            engine->placedCount += 1;
        }
    }
    if (engine->placedCount == COLUMN_COUNT) {
        engine->puzzleDone = true;
        Mix_FadeOutMusic(100);
        cSoundSet::Play(IsOrderCorrect(engine->logs) ? engine->sounds.aplauz
                                                     : engine->sounds.ponovo);
    }
}

void cSerijacija::ToggleDisplayMode(cGameEngine* engine)
{
    if (engine->SetDisplayMode(!fullscreen))
        fullscreen = !fullscreen;
}

void cSerijacija::HandleEvents(cGameEngine* engine)
{
    if (!engine->puzzleDone) {
        while (SDL_PollEvent(&event)) {
            exitButton->HandleEvent(event, engine);
            HandleLogMouse(event, engine);
            if (event.type == SDL_QUIT) {
                engine->Quit();
            } else if (event.type == SDL_KEYDOWN) {
                switch (event.key.keysym.sym) {
                case SDLK_ESCAPE:
                    // The dialog takes the rest of the frame's input from here on.
                    engine->PushState(cGlavniMeni::Instance());
                    return;
                case SDLK_SPACE:
                    engine->ChangeState(cSerijacija::Instance());
                    break;
                case SDLK_F11:
                    ToggleDisplayMode(engine);
                    break;
                default:
                    break;
                }
            }
        }
        return;
    }

    // The puzzle is over: the logs rest, and the right button or Return starts anew.
    while (SDL_PollEvent(&event)) {
        exitButton->HandleEvent(event, engine);
        if (event.type == SDL_KEYDOWN) {
            switch (event.key.keysym.sym) {
            case SDLK_ESCAPE:
                engine->PushState(cGlavniMeni::Instance());
                return;
            case SDLK_RETURN:
                engine->ChangeState(cSerijacija::Instance());
                break;
            case SDLK_F11:
                ToggleDisplayMode(engine);
                break;
            default:
                break;
            }
        } else if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_RIGHT) {
            engine->ChangeState(cSerijacija::Instance());
        } else if (event.type == SDL_QUIT) {
            engine->Quit();
        }
    }
}

void cSerijacija::HandleLogMouse(const SDL_Event& event, cGameEngine* engine)
{
    if (engine->puzzleDone)
        return;
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN: {
        const int mx = event.button.x, my = event.button.y;
        if (event.button.button == SDL_BUTTON_LEFT) {
            // Set even over empty ground; the last log hit is the one drawn on top.
            engine->dragging = true;
            for (cBalvan* log : engine->logs) {
                const SDL_Rect& r = log->GetRect();
                if (r.x < mx && mx < r.x + r.w && r.y < my && my < r.y + r.h)
                    engine->draggedLog = log;
            }
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
            for (cBalvan* log : engine->logs) {
                const SDL_Rect& r = log->GetRect();
                if (log->IsPlaced() && r.x < mx && mx < r.x + r.w && r.y < my && my < r.y + r.h) {
                    log->ReturnHome();
                    engine->slots[log->GetSlot()]->Vacate();
                    engine->placedCount -= 1;
                }
            }
        }
        break;
    }
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && engine->draggedLog) {
            engine->dragging = false;
            engine->draggedLog = nullptr;
        }
        break;
    case SDL_MOUSEMOTION:
        if (engine->dragging && engine->draggedLog && !engine->draggedLog->IsPlaced()) {
            cBalvan* log = engine->draggedLog;
            log->SetPosition(static_cast<Sint16>(event.motion.x - log->FrameWidth() / 2),
                             static_cast<Sint16>(event.motion.y - log->FrameHeight() / 2));
        }
        break;
    default:
        break;
    }
}

void cSerijacija::Draw(cGameEngine* engine)
{
    engine->DrawSurface(0, 0, background, engine->screen);
    exitButton->Draw(engine->screen);
    for (cMesto* slot : engine->slots)
        slot->Draw(engine->screen, true);
    for (cBalvan* log : engine->logs)
        log->Draw(engine->screen);
    if (engine->puzzleDone) {
        const std::string& verdict = IsOrderCorrect(engine->logs) ? BRAVO : GRESKA;
        verdictText->TypeText(verdict, 180, 200, engine->screen, engine->frameCount);
        // Shown during the second half of every 2048 ms, counted from the set-up.
        if (timer.GetTicks() & 0x400)
            hintText->DrawText(HINT, 120, 324, engine->screen);
    }
}
