// Zagonetar's entry point: reads the options, opens the game, runs the 33 ms frame loop,
// shuts it down.
#include "engine/cGameEngine.h"
#include "engine/cLayout.h"
#include "engine/cOptions.h"
#include "screens/cIntro.h"

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    const cOptions options = cOptions::Parse(argc, argv);
    switch (options.action) {
    case cOptions::FAIL:
        fprintf(stderr, "%s\n", options.error.c_str());
        return 2;
    case cOptions::HELP:
        fputs(cOptions::Usage(), stdout);
        return 0;
    case cOptions::VERSION:
        printf("Zagonetar %s\n", ZAGONETAR_VERSION);
        return 0;
    case cOptions::RUN:
        break;
    }

    // The lifecycle lines often go to a pipe; a reader that goes away must not end the game.
    signal(SIGPIPE, SIG_IGN);

    cGameEngine engine;
    const cLoadError failure =
        engine.Init("Zagonetar - <F11> za fullscreen, <Esc> za pauzu/izlaz", cLayout::SCREEN_WIDTH,
                    cLayout::SCREEN_HEIGHT, 0, options);
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
