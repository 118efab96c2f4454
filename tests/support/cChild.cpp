// Child processes and temporary folders for the tests that run the real programs.
#include "cChild.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <sys/wait.h>
#include <unistd.h>

std::string ReadFileText(const std::string& path)
{
    std::string text;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    fclose(file);
    return text;
}

cChild::cChild(const std::vector<std::string>& argv, const std::string& dir,
               const std::vector<std::string>& env, bool removeCwd)
    : outPath(logs / "stdout"), errPath(logs / "stderr"), pid(-1), status(-1)
{
    pid = fork();
    if (pid != 0)
        return;
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    for (const std::string& entry : env) {
        size_t eq = entry.find('=');
        std::string name = entry.substr(0, eq);
        if (eq + 1 == entry.size())
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), entry.c_str() + eq + 1, 1);
    }
    if (chdir(dir.c_str()) != 0)
        _exit(126);
    if (removeCwd && rmdir(dir.c_str()) != 0)
        _exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

cChild::~cChild()
{
    if (pid > 0 && status == -1 && waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool cChild::WaitForOutput(const std::string& text, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (Out().find(text) != std::string::npos)
            return true;
        usleep(20000);
    }
    return Out().find(text) != std::string::npos;
}

void cChild::Signal(int sig)
{
    if (pid > 0)
        kill(pid, sig);
}

int cChild::Wait(int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        int raw = 0;
        pid_t done = waitpid(pid, &raw, WNOHANG);
        if (done == pid) {
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            pid = -1;
            return status;
        }
        usleep(10000);
    }
    return -1;
}
