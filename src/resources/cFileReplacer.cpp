// Replacing a file through a temporary one and a rename.
#include "resources/cFileReplacer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

cFileReplacer::cFileReplacer(std::string path) : path(std::move(path)) {}

cFileReplacer::~cFileReplacer()
{
    if (fd >= 0) {
        close(fd);
        unlink(temp.c_str());
    }
}

bool cFileReplacer::Open(std::string* error)
{
    struct stat old;
    const bool replacing = lstat(path.c_str(), &old) == 0;
    if (!replacing && errno != ENOENT) {
        *error = strerror(errno);
        return false;
    }
    if (replacing && !S_ISREG(old.st_mode)) {
        *error = "not a regular file";
        return false;
    }
    temp = path + ".XXXXXX";
    fd = mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0) {
        *error = strerror(errno);
        return false;
    }
    // mkstemp makes the file private; the game may run as another user than the one
    // who packed its archives.
    mode_t mode = old.st_mode & 07777;
    if (!replacing) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    struct stat made;
    bool ok = fstat(fd, &made) == 0;
    if (ok && replacing && (made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        fchown(fd, old.st_uid, old.st_gid) != 0) {
        *error = std::string("its owner can't be kept: ") + strerror(errno);
        ok = false;
    } else if (!ok || fchmod(fd, mode) != 0) {
        *error = strerror(errno);
        ok = false;
    }
    if (!ok) {
        close(fd);
        unlink(temp.c_str());
        fd = -1;
    }
    return ok;
}

bool cFileReplacer::Write(const void* bytes, size_t count, std::string* error)
{
    const char* p = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t put = write(fd, p, count);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            *error = strerror(put < 0 ? errno : ENOSPC);
            return false;
        }
        p += put;
        count -= static_cast<size_t>(put);
    }
    return true;
}

bool cFileReplacer::Commit(std::string* error)
{
    const bool synced = fsync(fd) == 0;
    int reason = errno;
    const bool closed = close(fd) == 0;
    if (!closed && synced)
        reason = errno;
    fd = -1;
    if (synced && closed && rename(temp.c_str(), path.c_str()) == 0)
        return true;
    if (synced && closed)
        reason = errno;
    unlink(temp.c_str());
    *error = strerror(reason);
    return false;
}
