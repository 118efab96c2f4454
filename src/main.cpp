// Zagonetar's entry point: opens the game, runs the 33 ms frame loop, shuts it down.
#include "engine/cGameEngine.h"
#include "screens/cIntro.h"

int main(int, char**)
{
    cGameEngine engine;
    engine.Init("Zagonetar - <F11> za fullscreen, <Esc> za pauzu/izlaz", 640, 480, 0);
    engine.ChangeState(cIntro::Instance());
    while (engine.Running())
        engine.RunFrame();
    engine.Cleanup();
    return 0;
}
