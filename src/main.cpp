// Zagonetar's entry point: opens the game, runs the 33 ms frame loop, shuts it down.
#include "engine/cGameEngine.h"
#include "engine/cLayout.h"
#include "screens/cIntro.h"

#include <csignal>

int main(int, char**)
{
    // The lifecycle lines often go to a pipe; a reader that goes away must not end the game.
    signal(SIGPIPE, SIG_IGN);

    cGameEngine engine;
    const cLoadError failure = engine.Init("Zagonetar - <F11> za fullscreen, <Esc> za pauzu/izlaz",
                                           cLayout::SCREEN_WIDTH, cLayout::SCREEN_HEIGHT, 0);
    if (failure.Failed()) {
        failure.Report();
        return 1;
    }
    engine.ChangeState(cIntro::Instance());
    while (engine.Running())
        engine.RunFrame();
    engine.Cleanup();
    return 0;
}
