// Zagonetar's entry point: reads the options, opens the game, runs the 33 ms frame loop,
// shuts it down.
#include "engine/cConsole.h"
#include "engine/cGameEngine.h"
#include "engine/cLayout.h"
#include "engine/cOptions.h"
#include "screens/cIntro.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

// Help and version text, with status 1 when it could not all be written (a full disk).
int Print(const std::string& text)
{
    fputs(text.c_str(), stdout);
    if (fflush(stdout) == 0 && !ferror(stdout))
        return 0;
    fprintf(stderr, "zagonetar: standard output: %s\n", strerror(errno));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    cConsole::OpenStandardStreams();
    // The lifecycle lines often go to a pipe; a reader that goes away must not end the game.
    signal(SIGPIPE, SIG_IGN);
    // Past a file size limit, greska.txt is refused like on a full disk, not the game killed.
    signal(SIGXFSZ, SIG_IGN);

    const cOptions options = cOptions::Parse(argc, argv);
    switch (options.action) {
    case cOptions::FAIL:
        fprintf(stderr, "%s\n", options.error.c_str());
        return 2;
    case cOptions::HELP:
        return Print(cOptions::Usage());
    case cOptions::VERSION:
        return Print(std::string("Zagonetar ") + ZAGONETAR_VERSION + "\n");
    case cOptions::RUN:
        break;
    }

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
