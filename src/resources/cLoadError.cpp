// Telling the player why the game could not start.
#include "resources/cLoadError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const ERROR_FILE = "greska.txt";

// 0 when all of `text` went out, otherwise the reason it did not.
int WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return errno;
        if (wrote == 0)
            return ENOSPC;
        done += static_cast<size_t>(wrote);
    }
    return 0;
}

bool WriteErrorFile(const std::string& line)
{
    // Not truncated until it is known to be a plain file: a FIFO or a device is left alone.
    int fd = open(ERROR_FILE, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        fprintf(stderr, "Zagonetar: %s could not be written: %s\n", ERROR_FILE, strerror(errno));
        return false;
    }
    struct stat st;
    int reason = fstat(fd, &st) == 0 ? 0 : errno;
    if (reason == 0 && !S_ISREG(st.st_mode)) {
        close(fd);
        fprintf(stderr, "Zagonetar: %s could not be written: it is not a plain file\n", ERROR_FILE);
        return false;
    }
    if (reason == 0)
        reason = ftruncate(fd, 0) == 0 ? WriteAll(fd, line) : errno;
    if (close(fd) != 0 && reason == 0)
        reason = errno;
    if (reason != 0) {
        // A cut-off message would mislead whoever reads it later.
        unlink(ERROR_FILE);
        fprintf(stderr, "Zagonetar: %s could not be written: %s\n", ERROR_FILE, strerror(reason));
        return false;
    }
    return true;
}

} // namespace

bool cLoadError::Report() const
{
    const std::string line = message + "\n";
    switch (channel) {
    case STANDARD_OUTPUT:
        fputs(line.c_str(), stdout);
        return fflush(stdout) == 0;
    case STANDARD_ERROR:
        fputs(line.c_str(), stderr);
        return true;
    case GRESKA_TXT:
        return WriteErrorFile(line);
    case NONE:
        break;
    }
    return true;
}
