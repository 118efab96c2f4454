// Lookup, listing and writing of the resource archives.
#include "resources/cResourceArchive.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An archive in a file or in memory, with its size known, so every read can be checked
// against it.
class cReader
{
public:
    explicit cReader(const std::string& path)
        // Non-blocking, so a FIFO named by mistake is refused rather than waited on.
        : fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
    {
        struct stat st;
        if (fd < 0 || fstat(fd, &st) != 0)
            openError = strerror(errno);
        else if (!S_ISREG(st.st_mode))
            openError = "not a regular file";
        else
            fileSize = static_cast<uint64_t>(st.st_size);
    }
    cReader(const unsigned char* bytes, size_t size) : fd(-1), memory(bytes), fileSize(size) {}
    ~cReader()
    {
        if (fd >= 0)
            close(fd);
    }
    cReader(const cReader&) = delete;
    cReader& operator=(const cReader&) = delete;

    // Empty when the archive is ready to read.
    const std::string& OpenError() const { return openError; }
    uint64_t Size() const { return fileSize; }

    // Reads exactly `count` bytes at `offset`, or fails.
    bool ReadAt(uint64_t offset, void* out, uint64_t count)
    {
        if (offset > fileSize || count > fileSize - offset)
            return false;
        if (fd < 0) { // held in memory; a file that failed to open is never read
            if (count > 0)
                memcpy(out, memory + offset, count);
            return true;
        }
        unsigned char* p = static_cast<unsigned char*>(out);
        while (count > 0) {
            ssize_t got = pread(fd, p, count, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            p += got;
            offset += static_cast<uint64_t>(got);
            count -= static_cast<uint64_t>(got);
        }
        return true;
    }

    bool ReadU32(uint64_t offset, uint32_t* value)
    {
        unsigned char b[4];
        if (!ReadAt(offset, b, 4))
            return false;
        *value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                 static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
        return true;
    }

private:
    int fd;
    const unsigned char* memory = nullptr;
    uint64_t fileSize = 0;
    std::string openError;
};

struct cRecord
{
    uint64_t dataOffset;
    uint32_t size;
    std::string name;
};

// Walks the offset table; `visit` returns false to stop early.
template <typename Visit>
cResourceArchive::eResult Walk(cReader& reader, std::string* error, Visit visit)
{
    if (!reader.OpenError().empty()) {
        *error = reader.OpenError();
        return cResourceArchive::OPEN_FAILED;
    }
    uint32_t rawCount = 0;
    if (!reader.ReadU32(0, &rawCount)) {
        *error = "the archive is too short to hold its entry count";
        return cResourceArchive::MALFORMED;
    }
    // A count with its top bit set reads as negative: the archive is empty.
    int32_t count = static_cast<int32_t>(rawCount);
    if (count <= 0)
        return cResourceArchive::NOT_FOUND;
    if (static_cast<uint64_t>(count) * 4 > reader.Size() - 4) {
        *error = "the entry table runs past the end of the archive";
        return cResourceArchive::MALFORMED;
    }
    // One record for the whole walk, so its name buffer is reused instead of allocated
    // for every entry.
    cRecord record;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t offset = 0, size = 0, nameLength = 0;
        if (!reader.ReadU32(4 + 4 * static_cast<uint64_t>(i), &offset)) {
            *error = "the entry table can't be read";
            return cResourceArchive::MALFORMED;
        }
        if (offset >= 0x80000000u || !reader.ReadU32(offset, &size) ||
            !reader.ReadU32(static_cast<uint64_t>(offset) + 4, &nameLength)) {
            *error = "entry " + std::to_string(i) + " lies outside the archive";
            return cResourceArchive::MALFORMED;
        }
        uint64_t nameOffset = static_cast<uint64_t>(offset) + 8;
        if (nameLength > reader.Size() - nameOffset) {
            *error = "the name of entry " + std::to_string(i) + " runs past the end of the archive";
            return cResourceArchive::MALFORMED;
        }
        record.name.resize(nameLength);
        if (!reader.ReadAt(nameOffset, &record.name[0], nameLength)) {
            *error = "the name of entry " + std::to_string(i) + " can't be read";
            return cResourceArchive::MALFORMED;
        }
        record.dataOffset = nameOffset + nameLength;
        record.size = size;
        if (size > reader.Size() - record.dataOffset) {
            *error = "the data of entry " + std::to_string(i) + " runs past the end of the archive";
            return cResourceArchive::MALFORMED;
        }
        if (!visit(record))
            return cResourceArchive::FOUND;
    }
    return cResourceArchive::NOT_FOUND;
}

void PutU32(std::vector<unsigned char>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// The whole buffer, or false with errno saying why.
bool WriteAll(int fd, const std::vector<unsigned char>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

cResourceArchive::eResult FindIn(cReader& reader, const std::string& name, unsigned char** data,
                                 uint32_t* size, std::string* error)
{
    *data = nullptr;
    bool matched = false;
    cRecord found;
    cResourceArchive::eResult result = Walk(reader, error, [&](const cRecord& r) {
        // A stored name matches only when it is exactly equal, byte for byte.
        if (r.name != name)
            return true;
        matched = true;
        found = r;
        return false;
    });
    if (result != cResourceArchive::FOUND || !matched)
        return result;

    // malloc(0) may return null; ask for one byte so a found empty entry is never null.
    unsigned char* buffer = static_cast<unsigned char*>(malloc(found.size > 0 ? found.size : 1));
    if (!buffer) {
        *error = "out of memory reading '" + name + "'";
        return cResourceArchive::MALFORMED;
    }
    if (!reader.ReadAt(found.dataOffset, buffer, found.size)) {
        free(buffer);
        *error = "the data of '" + name + "' can't be read";
        return cResourceArchive::MALFORMED;
    }
    *data = buffer;
    *size = found.size;
    return cResourceArchive::FOUND;
}

cResourceArchive::eResult ListIn(cReader& reader, std::vector<cResourceArchive::cEntry>* entries,
                                 std::string* error)
{
    entries->clear();
    cResourceArchive::eResult result = Walk(reader, error, [&](const cRecord& r) {
        entries->push_back(cResourceArchive::cEntry{r.name, r.size});
        return true;
    });
    // Walking every entry ends in NOT_FOUND; for a listing that is success.
    return result == cResourceArchive::NOT_FOUND ? cResourceArchive::FOUND : result;
}

} // namespace

cResourceArchive::eResult cResourceArchive::Find(const std::string& path, const std::string& name,
                                                 unsigned char** data, uint32_t* size,
                                                 std::string* error)
{
    cReader reader(path);
    return FindIn(reader, name, data, size, error);
}

cResourceArchive::eResult cResourceArchive::FindInMemory(const unsigned char* archive,
                                                         size_t archiveSize,
                                                         const std::string& name,
                                                         unsigned char** data, uint32_t* size,
                                                         std::string* error)
{
    cReader reader(archive, archiveSize);
    return FindIn(reader, name, data, size, error);
}

cResourceArchive::eResult cResourceArchive::List(const std::string& path,
                                                 std::vector<cEntry>* entries, std::string* error)
{
    cReader reader(path);
    return ListIn(reader, entries, error);
}

cResourceArchive::eResult cResourceArchive::ListInMemory(const unsigned char* archive,
                                                         size_t archiveSize,
                                                         std::vector<cEntry>* entries,
                                                         std::string* error)
{
    cReader reader(archive, archiveSize);
    return ListIn(reader, entries, error);
}

bool cResourceArchive::Write(const std::string& path, const std::vector<cFile>& files,
                             std::string* error)
{
    std::vector<unsigned char> out;
    uint64_t total = 4 + 4 * static_cast<uint64_t>(files.size());
    for (const cFile& f : files)
        total += 8 + f.name.size() + f.data.size();
    if (total > MAX_ARCHIVE_SIZE) {
        *error = path + ": the archive would be larger than 2 GiB";
        return false;
    }
    for (const cFile& f : files) {
        if (f.name.empty() || f.name.find('\0') != std::string::npos) {
            *error = path + ": an entry name must be non-empty and hold no zero byte";
            return false;
        }
    }
    PutU32(out, static_cast<uint32_t>(files.size()));
    uint32_t offset = 4 + 4 * static_cast<uint32_t>(files.size());
    for (const cFile& f : files) {
        PutU32(out, offset);
        offset += 8 + static_cast<uint32_t>(f.name.size() + f.data.size());
    }
    for (const cFile& f : files) {
        PutU32(out, static_cast<uint32_t>(f.data.size()));
        PutU32(out, static_cast<uint32_t>(f.name.size()));
        out.insert(out.end(), f.name.begin(), f.name.end());
        out.insert(out.end(), f.data.begin(), f.data.end());
    }

    // The new archive goes to a temporary file beside the old one and replaces it only
    // once it is on disk and reads back, so a full disk or a crash mid-write never costs
    // the player a working archive.
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(&temp[0]);
    if (fd < 0) {
        *error = path + ": " + strerror(errno);
        return false;
    }
    auto fail = [&](const std::string& reason) {
        unlink(temp.c_str());
        *error = path + ": " + reason;
        return false;
    };
    // mkstemp makes the file private; the game may run as another user than the packer.
    const mode_t mask = umask(0);
    umask(mask);
    bool ok = fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, out) && fsync(fd) == 0;
    int reason = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    if (!ok)
        return fail(strerror(reason));

    // Every entry through the game's own reader; of two equal names the game sees the first.
    std::set<std::string> seen;
    for (const cFile& f : files) {
        if (!seen.insert(f.name).second)
            continue;
        unsigned char* data = nullptr;
        uint32_t size = 0;
        std::string readError;
        const bool same = Find(temp, f.name, &data, &size, &readError) == FOUND &&
                          size == f.data.size() &&
                          (size == 0 || memcmp(data, f.data.data(), size) == 0);
        free(data);
        if (!same)
            return fail("'" + f.name + "' does not read back as written" +
                        (readError.empty() ? "" : ": " + readError));
    }
    if (rename(temp.c_str(), path.c_str()) != 0)
        return fail(strerror(errno));
    return true;
}

unsigned char* cResourceArchive::LoadResource(const std::string& path, const char* name,
                                              uint32_t& size, cLoadError* failure)
{
    unsigned char* data = nullptr;
    std::string error;
    switch (Find(path, name, &data, &size, &error)) {
    case FOUND:
        return data;
    case OPEN_FAILED:
        *failure = {cLoadError::STANDARD_ERROR, "Error opening resource file: " + error};
        break;
    case NOT_FOUND:
        *failure = {cLoadError::STANDARD_OUTPUT,
                    std::string("Unable to find '") + name + "' in the resource file!"};
        break;
    case MALFORMED:
        *failure = {cLoadError::STANDARD_OUTPUT, "Broken resource file '" + path +
                                                     "' while looking for '" + name +
                                                     "': " + error};
        break;
    }
    return nullptr;
}

bool cResourceArchive::PathInWorkingDirectory(const char* archiveName, std::string* path,
                                              cLoadError* failure)
{
    // No fixed-size buffer: the working directory may have a name of any length.
    char* cwd = getcwd(nullptr, 0);
    if (!cwd) {
        *failure = {cLoadError::STANDARD_ERROR,
                    std::string("Unable to read the working directory: ") + strerror(errno)};
        return false;
    }
    *path = std::string(cwd) + "/" + archiveName;
    free(cwd);
    return true;
}
