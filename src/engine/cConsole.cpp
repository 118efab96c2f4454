// Writing to the standard streams without ever blocking for long.
#include "engine/cConsole.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

void cConsole::OpenStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() takes the lowest free number, which is this one.
        const int opened = open("/dev/null", O_RDWR);
        if (opened > 2)
            close(opened);
    }
}

bool cConsole::WriteLine(int fd, const std::string& line, int waitMs)
{
    const std::string text = line + "\n";
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    size_t done = 0;
    while (done < text.size()) {
        // A pipe or a terminal with room takes PIPE_BUF bytes without blocking.
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd ready = {fd, POLLOUT, 0};
        const int polled = poll(&ready, 1, left > 0 ? static_cast<int>(left) : 0);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0 || !(ready.revents & POLLOUT))
            return false;
        const size_t piece = std::min<size_t>(text.size() - done, PIPE_BUF);
        const ssize_t put = write(fd, text.data() + done, piece);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}
