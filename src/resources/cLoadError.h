// Why start-up could not load what the game needs, and where the player hears of it. The
// loaders only fill this in; the entry point reports it and ends with status 1.
#pragma once

#include <string>

class cLoadError
{
public:
    enum eChannel { NONE, STANDARD_OUTPUT, STANDARD_ERROR, GRESKA_TXT };

    cLoadError() = default;
    cLoadError(eChannel channel, std::string message)
        : channel(channel), message(std::move(message))
    {
    }

    bool Failed() const { return channel != NONE; }

    // Prints the message, one line, on its channel, waiting at most a second for a reader
    // that stalls. A picture that can't be decoded goes to "greska.txt" in the working
    // directory, the player's only trace of it: written whole or not at all, in place of
    // a plain file only, never through a link or into a pipe. When that file can't be
    // written, one line on standard error says why. Returns whether the message reached
    // its channel.
    bool Report() const;

    eChannel channel = NONE;
    std::string message;
};
