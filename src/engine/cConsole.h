// The game's standard streams: its lifecycle lines go to standard output and its
// complaints to standard error, wherever those lead. Neither may ever stop the game: a
// closed stream must not become the X connection, and a reader that stalls costs lines,
// never frames.
#pragma once

#include <string>

class cConsole
{
public:
    // Opens each of descriptors 0 to 2 that is closed on /dev/null. Run first thing: the
    // next file opened would otherwise take the free number and receive the game's lines.
    static void OpenStandardStreams();

    // Writes `line` and a newline to `fd` if the reader takes them within `waitMs`
    // (0: only what can go out at once); the rest is dropped. True when all of it went out.
    static bool WriteLine(int fd, const std::string& line, int waitMs);
};
