// The one object through which the whole game meets: display, assets, shared flags and
// the stack of screens.
#pragma once

#include "engine/cDisplay.h"
#include "engine/cOptions.h"
#include "resources/cImageSet.h"
#include "resources/cSoundSet.h"

#include <SDL.h>
#include <cstdint>
#include <functional>
#include <vector>

class cGameState;

class cGameEngine
{
public:
    static const int FRAME_MS = 33;

    cGameEngine() = default;
    ~cGameEngine();
    cGameEngine(const cGameEngine&) = delete;
    cGameEngine& operator=(const cGameEngine&) = delete;

    // Opens the display and loads every picture and sound. On failure nothing is left
    // open, and the result says what to tell the player.
    cLoadError Init(const char* title, int width, int height, int bpp,
                    const cOptions& options = cOptions());
    void Cleanup();

    void ChangeState(cGameState* state);
    void PushState(cGameState* state);
    void PopState();

    void HandleEvents();
    void Update();
    void Draw();

    void Quit() { running = false; }
    bool Running() const { return running; }

    // One pass of the main loop: events, update, draw, flip, then the rest of the
    // 33 ms frame asleep (only when `pace` is set; tests and soak runs skip it).
    void RunFrame(bool pace = true);
    // How long to sleep after a frame that took `elapsedUs` microseconds: what is left
    // of the 33 ms, or nothing. Counted in microseconds so that frames land between 33
    // and 34 ms apart instead of anywhere from 32 to 34, as whole milliseconds would.
    static int64_t FrameDelay(int64_t elapsedUs);

    int DrawSurface(int x, int y, SDL_Surface* source, SDL_Surface* destination);
    // DrawSurface's fast way for opaque pictures of the screen's own format.
    static bool CopyOpaque(int x, int y, SDL_Surface* source, SDL_Surface* destination);

    // F11: the display's SetMode; when neither mode works the game ends cleanly after
    // this frame.
    bool SetDisplayMode(bool toFullscreen);

    // Widgets, texts, logs and slots of a screen that is being left may still be on
    // the call stack (a click changes the screen inside the button's own handler), so
    // they are retired here and deleted once the frame's event handling has returned.
    template <typename T>
    void Retire(T* object)
    {
        if (object)
            retired.push_back([object] { delete object; });
    }
    // Retires what `holder` points at and clears `holder` when the object is deleted,
    // unless it has been given a new object by then. `holder` must outlive the frame.
    template <typename T>
    void RetireHeld(T*& holder)
    {
        T* object = holder;
        T** where = &holder;
        if (object)
            retired.push_back([where, object] {
                if (*where == object)
                    *where = nullptr;
                delete object;
            });
    }
    void FreeRetired();
    size_t RetiredCount() const { return retired.size(); }

    // One lifecycle line on standard output, at once, or dropped when the reader stalls.
    static void Log(const char* line);

    cDisplay display;
    // The display's picture, which every screen draws into; taken again whenever the
    // display opens, closes or changes mode.
    SDL_Surface* screen = nullptr;
    cSoundSet sounds;
    cImageSet images;
    bool iconHovered = false;
    // --one-button: the puzzle is played with clicks alone.
    bool oneButton = false;
    uint32_t frameCount = 0;
    bool fullscreen = false;
    std::vector<cGameState*> states;
    bool running = false;

private:
    std::vector<std::function<void()>> retired;
};
