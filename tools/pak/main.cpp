// zagonetar-pak: packs, lists and extracts the game's resource archives.
#include "resources/cFileReplacer.h"
#include "resources/cResourceArchive.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
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

bool Fail(const std::string& path, const std::string& reason)
{
    fprintf(stderr, "zagonetar-pak: %s: %s\n", path.c_str(), reason.c_str());
    return false;
}

// Opens `path` for reading if it is a regular file of at most `room` bytes: its size is
// taken from the open file, so a device or a huge file is refused before anything is read.
// -1 with *error set otherwise.
int OpenInput(const char* path, uint64_t room, uint64_t* size, std::string* error)
{
    // Non-blocking, so a FIFO is refused rather than waited on.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0)
        *error = strerror(errno);
    else if (!S_ISREG(st.st_mode))
        *error = "not a regular file";
    else if (static_cast<uint64_t>(st.st_size) > room)
        *error = "too large for an archive, which holds entries of at most " +
                 std::to_string(cResourceArchive::MAX_ENTRY_SIZE >> 20) + " MiB and 2 GiB in all";
    else
        return *size = static_cast<uint64_t>(st.st_size), fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

// Hands the file's bytes to `sink` a block at a time: only one block is ever in memory.
bool ReadInput(const char* path, uint64_t size, const cResourceArchive::cSink& sink,
               std::string* error)
{
    uint64_t now = 0;
    const int fd = OpenInput(path, cResourceArchive::MAX_ENTRY_SIZE, &now, error);
    if (fd < 0) {
        *error = std::string(path) + ": " + *error;
        return false;
    }
    std::vector<unsigned char> block(64 << 10);
    bool ok = now == size;
    if (!ok)
        *error = std::string(path) + ": changed size while being packed";
    while (ok) {
        const ssize_t got = read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            *error = std::string(path) + ": " + strerror(errno);
        if (got <= 0)
            break;
        ok = sink(block.data(), static_cast<size_t>(got));
    }
    close(fd);
    return ok && error->empty();
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
    std::vector<cResourceArchive::cSource> sources(count);
    // The entry count and offset table, then each record's size, name length and name.
    uint64_t used = 4 + 4 * static_cast<uint64_t>(count);
    std::map<std::string, const char*> seen;
    for (int i = 0; i < count; ++i) {
        sources[i].name = BaseName(paths[i]);
        if (sources[i].name.empty()) {
            fprintf(stderr, "zagonetar-pak: %s names no file\n", paths[i]);
            return 1;
        }
        // The game would only ever see the first of two equal names.
        const auto [first, fresh] = seen.emplace(sources[i].name, paths[i]);
        if (!fresh) {
            fprintf(stderr, "zagonetar-pak: two files named '%s': %s and %s\n",
                    sources[i].name.c_str(), first->second, paths[i]);
            return 1;
        }
        used += 8 + sources[i].name.size();
    }
    for (int i = 0; i < count; ++i) {
        const uint64_t room = used < cResourceArchive::MAX_ARCHIVE_SIZE
                                  ? std::min<uint64_t>(cResourceArchive::MAX_ARCHIVE_SIZE - used,
                                                       cResourceArchive::MAX_ENTRY_SIZE)
                                  : 0;
        std::string error;
        const int fd = OpenInput(paths[i], room, &sources[i].size, &error);
        if (fd < 0) {
            Fail(paths[i], error);
            return 1;
        }
        close(fd);
        used += sources[i].size;
        const char* path = paths[i];
        const uint64_t size = sources[i].size;
        sources[i].read = [path, size](const cResourceArchive::cSink& sink, std::string* error) {
            return ReadInput(path, size, sink, error);
        };
    }
    std::string error;
    if (!cResourceArchive::WriteFrom(out, sources, &error)) {
        fprintf(stderr, "zagonetar-pak: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// Reads the UTF-8 character at `p` (of `left` bytes) into *code and returns its length, or
// 0 when the bytes there are not one well-formed character.
size_t DecodeUtf8(const unsigned char* p, size_t left, uint32_t* code)
{
    const size_t length = p[0] < 0x80                   ? 1
                          : p[0] >= 0xC2 && p[0] < 0xE0 ? 2
                          : p[0] >= 0xE0 && p[0] < 0xF0 ? 3
                          : p[0] >= 0xF0 && p[0] < 0xF5 ? 4
                                                        : 0;
    if (length == 0 || length > left)
        return 0;
    *code = length == 1 ? p[0] : p[0] & (0x3F >> (length - 1));
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        *code = *code << 6 | (p[i] & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (*code < least[length] || *code > 0x10FFFF || (*code >= 0xD800 && *code <= 0xDFFF))
        return 0;
    return length;
}

// Characters that steer a terminal or the direction of text rather than show as themselves.
bool Steers(uint32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x061C || code == 0x200E ||
           code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

// Control characters (C0 and C1), text direction marks and bytes that are not UTF-8 are
// shown escaped, so a hostile name can't drive the terminal, pass for another line or
// turn the listing around; backslash too, so every escaped listing reads one way only.
std::string Printable(const std::string& name)
{
    std::string out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(name.data());
    for (size_t at = 0; at < name.size();) {
        uint32_t code = 0;
        const size_t length = DecodeUtf8(p + at, name.size() - at, &code);
        char escaped[16] = "";
        if (length == 0)
            snprintf(escaped, sizeof escaped, "\\x%02x", p[at]);
        else if (code == '\t' || code == '\n' || code == '\r' || code == '\\')
            snprintf(escaped, sizeof escaped, "\\%c",
                     code == '\t'   ? 't'
                     : code == '\n' ? 'n'
                     : code == '\r' ? 'r'
                                    : '\\');
        else if (code < 0x80 && Steers(code))
            snprintf(escaped, sizeof escaped, "\\x%02x", code);
        else if (Steers(code))
            snprintf(escaped, sizeof escaped, "\\u%04x", code);
        if (escaped[0])
            out += escaped;
        else
            out.append(name, at, length);
        at += length ? length : 1;
    }
    return out;
}

// Standard output's last bytes, and whether all of it could be written.
int Flushed(int status)
{
    if (fflush(stdout) == 0 && !ferror(stdout))
        return status;
    Fail("standard output", strerror(errno));
    return 1;
}

int List(const char* archive)
{
    std::string error;
    // Each entry is printed as it is read: memory stays that of one entry.
    const cResourceArchive::eResult result = cResourceArchive::List(
        archive,
        [](const cResourceArchive::cEntry& entry) {
            printf("%s\t%u\n", Printable(entry.name).c_str(), entry.size);
        },
        &error);
    if (result != cResourceArchive::FOUND) {
        fprintf(stderr, "zagonetar-pak: %s %s: %s\n", archive, Describe(result), error.c_str());
        return Flushed(1);
    }
    return Flushed(0);
}

int Extract(const char* archive, const char* name, const std::string& out)
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
    // The archive itself, under its own name or a hard link, is never written over.
    struct stat from, to;
    if (stat(archive, &from) == 0 && lstat(out.c_str(), &to) == 0 && from.st_dev == to.st_dev &&
        from.st_ino == to.st_ino) {
        free(data);
        Fail(out, "is the archive being read");
        return 1;
    }
    cFileReplacer file(out);
    const bool ok = file.Open(&error) && file.Write(data, size, &error) && file.Commit(&error);
    free(data);
    if (!ok)
        Fail(out, error);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Past a file size limit a write fails and the old file stays, instead of the tool
    // being killed half way.
    signal(SIGXFSZ, SIG_IGN);
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "pack" && argc >= 4)
        return Pack(argv[2], argc - 3, argv + 3);
    if (command == "list" && argc == 3)
        return List(argv[2]);
    if (command == "extract" && (argc == 4 || argc == 5))
        return Extract(argv[2], argv[3], argc == 5 ? argv[4] : BaseName(argv[3]));
    return Usage();
}
