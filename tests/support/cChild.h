// Runs the real game (or the archive tool) as a child process and reads what it says.
#pragma once

#include "cTempDir.h"

#include <string>
#include <sys/types.h>
#include <vector>

std::string ReadFileText(const std::string& path);

class cChild
{
public:
    // Environment entries "NAME=value" are added to this process's own; "NAME=" with
    // nothing after the sign removes NAME. With `removeCwd` the child deletes its
    // working directory before it starts, so getcwd fails there.
    cChild(const std::vector<std::string>& argv, const std::string& dir,
           const std::vector<std::string>& env = {}, bool removeCwd = false);
    ~cChild();

    // Waits until standard output holds `text`; false after `timeoutMs`.
    bool WaitForOutput(const std::string& text, int timeoutMs);
    void Signal(int sig);
    // The exit status, or -1 when the child was killed or did not end in time.
    int Wait(int timeoutMs);

    std::string Out() const { return ReadFileText(outPath); }
    std::string Err() const { return ReadFileText(errPath); }

private:
    cTempDir logs;
    std::string outPath;
    std::string errPath;
    pid_t pid;
    int status;
};
