// zagonetar-pak: packs, lists and extracts the game's resource archives.
#include "resources/cResourceArchive.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

int Usage()
{
    fprintf(stderr,
            "usage: zagonetar-pak pack OUT FILE...      pack files, each named by its base name\n"
            "       zagonetar-pak list ARCHIVE          name and size of every entry\n"
            "       zagonetar-pak extract ARCHIVE NAME [OUT]\n");
    return 2;
}

bool Fail(const char* path, const char* reason)
{
    fprintf(stderr, "zagonetar-pak: %s: %s\n", path, reason);
    return false;
}

// Reads `path` whole if it is a regular file of at most `room` bytes. The size is taken
// from the open file before anything is read, so a device or a huge file is refused
// instead of filling memory.
bool ReadInput(const char* path, uint64_t room, std::vector<unsigned char>* data)
{
    // Non-blocking, so a FIFO is refused rather than waited on.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail(path, strerror(errno));
    struct stat st;
    bool ok = false;
    if (fstat(fd, &st) != 0)
        Fail(path, strerror(errno));
    else if (!S_ISREG(st.st_mode))
        Fail(path, "not a regular file");
    else if (static_cast<uint64_t>(st.st_size) > room)
        Fail(path, "too large for an archive, which holds at most 2 GiB");
    else
        ok = true;
    data->resize(ok ? static_cast<size_t>(st.st_size) : 0);
    for (size_t done = 0; ok && done < data->size();) {
        const ssize_t got = read(fd, data->data() + done, data->size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            ok = Fail(path, got < 0 ? strerror(errno) : "shrank while being read");
        else
            done += static_cast<size_t>(got);
    }
    close(fd);
    return ok;
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* Describe(cResourceArchive::eResult result)
{
    switch (result) {
    case cResourceArchive::OPEN_FAILED:
        return "can't be opened";
    case cResourceArchive::NOT_FOUND:
        return "has no such entry";
    case cResourceArchive::MALFORMED:
        return "is broken";
    default:
        return "";
    }
}

int Pack(const char* out, int count, char** paths)
{
    std::vector<cResourceArchive::cFile> files(count);
    // The entry count and offset table, then each record's size, name length and name.
    uint64_t used = 4 + 4 * static_cast<uint64_t>(count);
    std::map<std::string, const char*> seen;
    for (int i = 0; i < count; ++i) {
        files[i].name = BaseName(paths[i]);
        if (files[i].name.empty()) {
            fprintf(stderr, "zagonetar-pak: %s names no file\n", paths[i]);
            return 1;
        }
        // The game would only ever see the first of two equal names.
        const auto [first, fresh] = seen.emplace(files[i].name, paths[i]);
        if (!fresh) {
            fprintf(stderr, "zagonetar-pak: two files named '%s': %s and %s\n",
                    files[i].name.c_str(), first->second, paths[i]);
            return 1;
        }
        used += 8 + files[i].name.size();
    }
    for (int i = 0; i < count; ++i) {
        const uint64_t room = used < cResourceArchive::MAX_ARCHIVE_SIZE
                                  ? cResourceArchive::MAX_ARCHIVE_SIZE - used
                                  : 0;
        if (!ReadInput(paths[i], room, &files[i].data))
            return 1;
        used += files[i].data.size();
    }
    std::string error;
    if (!cResourceArchive::Write(out, files, &error)) {
        fprintf(stderr, "zagonetar-pak: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// Control characters are shown escaped, so a hostile name can't drive the terminal or
// pass for another line; backslash too, so every escaped listing reads one way only.
std::string Printable(const std::string& name)
{
    std::string out;
    for (const unsigned char c : name) {
        if (c == '\t' || c == '\n' || c == '\r' || c == '\\') {
            out += '\\';
            out += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
        } else if (c < 0x20 || c == 0x7f) {
            char hex[5];
            snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int List(const char* archive)
{
    std::vector<cResourceArchive::cEntry> entries;
    std::string error;
    cResourceArchive::eResult result = cResourceArchive::List(archive, &entries, &error);
    if (result != cResourceArchive::FOUND) {
        fprintf(stderr, "zagonetar-pak: %s %s: %s\n", archive, Describe(result), error.c_str());
        return 1;
    }
    for (const cResourceArchive::cEntry& entry : entries)
        printf("%s\t%u\n", Printable(entry.name).c_str(), entry.size);
    return 0;
}

int Extract(const char* archive, const char* name, const char* out)
{
    unsigned char* data = nullptr;
    uint32_t size = 0;
    std::string error;
    cResourceArchive::eResult result = cResourceArchive::Find(archive, name, &data, &size, &error);
    if (result != cResourceArchive::FOUND) {
        fprintf(stderr, "zagonetar-pak: %s %s%s%s\n", archive, Describe(result),
                result == cResourceArchive::NOT_FOUND ? " named " : ": ",
                result == cResourceArchive::NOT_FOUND ? name : error.c_str());
        return 1;
    }
    const int fd = open(out, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    bool ok = fd >= 0;
    for (uint32_t done = 0; ok && done < size;) {
        const ssize_t put = write(fd, data + done, size - done);
        if (put < 0 && errno == EINTR)
            continue;
        ok = put > 0;
        done += ok ? static_cast<uint32_t>(put) : 0;
    }
    int reason = errno;
    if (fd >= 0 && close(fd) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    free(data);
    if (!ok) {
        Fail(out, strerror(reason));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "pack" && argc >= 4)
        return Pack(argv[2], argc - 3, argv + 3);
    if (command == "list" && argc == 3)
        return List(argv[2]);
    if (command == "extract" && (argc == 4 || argc == 5))
        return Extract(argv[2], argv[3], argc == 5 ? argv[4] : BaseName(argv[3]).c_str());
    return Usage();
}
