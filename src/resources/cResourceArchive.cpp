// Lookup, listing and writing of the resource archives.
#include "resources/cResourceArchive.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An open archive with its size known, so every read can be checked against it.
class cReader
{
public:
    explicit cReader(const std::string& path) : fd(open(path.c_str(), O_RDONLY))
    {
        struct stat st;
        if (fd >= 0 && fstat(fd, &st) == 0)
            fileSize = static_cast<uint64_t>(st.st_size);
    }
    ~cReader()
    {
        if (fd >= 0)
            close(fd);
    }
    cReader(const cReader&) = delete;
    cReader& operator=(const cReader&) = delete;

    bool IsOpen() const { return fd >= 0; }
    uint64_t Size() const { return fileSize; }

    // Reads exactly `count` bytes at `offset`, or fails.
    bool ReadAt(uint64_t offset, void* out, uint64_t count)
    {
        if (offset > fileSize || count > fileSize - offset)
            return false;
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
    uint64_t fileSize = 0;
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
    if (!reader.IsOpen()) {
        *error = strerror(errno);
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
        cRecord record;
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

} // namespace

cResourceArchive::eResult cResourceArchive::Find(const std::string& path, const std::string& name,
                                                 unsigned char** data, uint32_t* size,
                                                 std::string* error)
{
    *data = nullptr;
    cReader reader(path);
    bool matched = false;
    cRecord found;
    eResult result = Walk(reader, error, [&](const cRecord& r) {
        // A stored name matches only when it is exactly equal, byte for byte.
        if (r.name != name)
            return true;
        matched = true;
        found = r;
        return false;
    });
    if (result != FOUND || !matched)
        return result;

    // malloc(0) may return null; ask for one byte so a found empty entry is never null.
    unsigned char* buffer = static_cast<unsigned char*>(malloc(found.size > 0 ? found.size : 1));
    if (!buffer) {
        *error = "out of memory reading '" + name + "'";
        return MALFORMED;
    }
    if (!reader.ReadAt(found.dataOffset, buffer, found.size)) {
        free(buffer);
        *error = "the data of '" + name + "' can't be read";
        return MALFORMED;
    }
    *data = buffer;
    *size = found.size;
    return FOUND;
}

cResourceArchive::eResult cResourceArchive::List(const std::string& path,
                                                 std::vector<cEntry>* entries, std::string* error)
{
    entries->clear();
    cReader reader(path);
    eResult result = Walk(reader, error, [&](const cRecord& r) {
        entries->push_back(cEntry{r.name, r.size});
        return true;
    });
    // Walking every entry ends in NOT_FOUND; for a listing that is success.
    return result == NOT_FOUND ? FOUND : result;
}

bool cResourceArchive::Write(const std::string& path, const std::vector<cFile>& files,
                             std::string* error)
{
    std::vector<unsigned char> out;
    uint64_t total = 4 + 4 * static_cast<uint64_t>(files.size());
    for (const cFile& f : files)
        total += 8 + f.name.size() + f.data.size();
    if (total >= 0x80000000u) {
        *error = "the archive would be larger than 2 GiB";
        return false;
    }
    for (const cFile& f : files) {
        if (f.name.empty() || f.name.find('\0') != std::string::npos) {
            *error = "an entry name must be non-empty and hold no zero byte";
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

    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        *error = path + ": " + strerror(errno);
        return false;
    }
    bool ok = fwrite(out.data(), 1, out.size(), file) == out.size();
    ok = (fclose(file) == 0) && ok;
    if (!ok)
        *error = path + ": write failed";
    return ok;
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
