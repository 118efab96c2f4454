// Telling the player why the game could not start.
#include "resources/cLoadError.h"

#include "engine/cConsole.h"
#include "resources/cFileReplacer.h"

#include <unistd.h>

namespace {

const char* const ERROR_FILE = "greska.txt";
// How long a message may wait for a stalled reader before it is given up.
const int MESSAGE_WAIT_MS = 1000;

bool WriteErrorFile(const std::string& line)
{
    cFileReplacer file(ERROR_FILE);
    std::string reason;
    if (file.Open(&reason) && file.Write(line.data(), line.size(), &reason) && file.Commit(&reason))
        return true;
    cConsole::WriteLine(STDERR_FILENO,
                        std::string("Zagonetar: ") + ERROR_FILE + " could not be written: " +
                            (reason == "not a regular file" ? "it is not a plain file" : reason),
                        MESSAGE_WAIT_MS);
    return false;
}

} // namespace

bool cLoadError::Report() const
{
    switch (channel) {
    case STANDARD_OUTPUT:
        return cConsole::WriteLine(STDOUT_FILENO, message, MESSAGE_WAIT_MS);
    case STANDARD_ERROR:
        return cConsole::WriteLine(STDERR_FILENO, message, MESSAGE_WAIT_MS);
    case GRESKA_TXT:
        return WriteErrorFile(message + "\n");
    case NONE:
        break;
    }
    return true;
}
