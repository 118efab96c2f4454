// Lookup, listing and writing of the resource archives.
#include "resources/cResourceArchive.h"

#include "resources/cFileReplacer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

uint32_t Le32(const unsigned char* b)
{
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// An archive in a file or in memory, with its size known, so every read can be checked
// against it.
class cReader
{
public:
    explicit cReader(const std::string& path)
        // Non-blocking, so a FIFO named by mistake is refused rather than waited on.
        : fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
    {
        Measure();
    }
    cReader(const unsigned char* bytes, size_t size) : fd(-1), memory(bytes), fileSize(size) {}
    // A file someone else opened and closes.
    explicit cReader(int borrowed) : fd(borrowed), owned(false) { Measure(); }
    ~cReader()
    {
        if (fd >= 0 && owned)
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
        *value = Le32(b);
        return true;
    }

private:
    // The open file's size, or why it can't be read as an archive.
    void Measure()
    {
        struct stat st;
        if (fd < 0 || fstat(fd, &st) != 0)
            openError = strerror(errno);
        else if (!S_ISREG(st.st_mode))
            openError = "not a regular file";
        else
            fileSize = static_cast<uint64_t>(st.st_size);
    }

    int fd;
    bool owned = true;
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

// Walks the offset table; `visit` returns false to stop early. With `onlyName` set, only
// records whose name has its length are read whole and visited: a lookup reads one small
// header per entry, however long the other names are.
template <typename Visit>
cResourceArchive::eResult Walk(cReader& reader, std::string* error, const std::string* onlyName,
                               Visit visit)
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
    const int32_t count = static_cast<int32_t>(rawCount);
    if (count <= 0)
        return cResourceArchive::NOT_FOUND;
    const uint64_t tableEnd = 4 + 4 * static_cast<uint64_t>(count);
    // Every entry needs its slot in the table, and at least one record must follow it.
    if (tableEnd + 8 > reader.Size()) {
        *error = "the entry table runs past the end of the archive";
        return cResourceArchive::MALFORMED;
    }
    if (static_cast<uint32_t>(count) > cResourceArchive::MAX_ENTRY_COUNT) {
        *error = "the archive claims " + std::to_string(count) + " entries; at most " +
                 std::to_string(cResourceArchive::MAX_ENTRY_COUNT) + " are read";
        return cResourceArchive::MALFORMED;
    }
    std::vector<unsigned char> table(tableEnd - 4);
    if (!reader.ReadAt(4, table.data(), table.size())) {
        *error = "the entry table can't be read";
        return cResourceArchive::MALFORMED;
    }
    // One record and one header buffer for the whole walk, reused for every entry.
    cRecord record;
    unsigned char header[8 + cResourceArchive::MAX_NAME_LENGTH];
    const size_t wanted = onlyName ? onlyName->size() : 0;
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t offset = Le32(&table[4 * static_cast<size_t>(i)]);
        const std::string which = "entry " + std::to_string(i);
        if (offset < tableEnd) {
            *error = which + " points into the entry table";
            return cResourceArchive::MALFORMED;
        }
        // The header and, for a lookup, a name of the sought length, in one read.
        const uint64_t room = reader.Size() - std::min<uint64_t>(offset, reader.Size());
        const uint64_t headerBytes = std::min<uint64_t>(8 + wanted, room);
        if (offset >= 0x80000000u || headerBytes < 8 ||
            !reader.ReadAt(offset, header, headerBytes)) {
            *error = which + " lies outside the archive";
            return cResourceArchive::MALFORMED;
        }
        const uint32_t size = Le32(header), nameLength = Le32(header + 4);
        const uint64_t nameOffset = static_cast<uint64_t>(offset) + 8;
        if (nameLength > reader.Size() - nameOffset) {
            *error = "the name of " + which + " runs past the end of the archive";
            return cResourceArchive::MALFORMED;
        }
        if (nameLength > cResourceArchive::MAX_NAME_LENGTH) {
            *error = "the name of " + which + " is longer than " +
                     std::to_string(cResourceArchive::MAX_NAME_LENGTH) + " bytes";
            return cResourceArchive::MALFORMED;
        }
        record.dataOffset = nameOffset + nameLength;
        record.size = size;
        if (size > reader.Size() - record.dataOffset) {
            *error = "the data of " + which + " runs past the end of the archive";
            return cResourceArchive::MALFORMED;
        }
        if (size > cResourceArchive::MAX_ENTRY_SIZE) {
            *error = which + " holds " + std::to_string(size) + " bytes; at most " +
                     std::to_string(cResourceArchive::MAX_ENTRY_SIZE) + " are read";
            return cResourceArchive::MALFORMED;
        }
        if (onlyName && nameLength != wanted)
            continue;
        if (onlyName) {
            record.name.assign(reinterpret_cast<const char*>(header + 8), nameLength);
        } else {
            record.name.resize(nameLength);
            if (!reader.ReadAt(nameOffset, &record.name[0], nameLength)) {
                *error = "the name of " + which + " can't be read";
                return cResourceArchive::MALFORMED;
            }
        }
        if (!visit(record))
            return cResourceArchive::FOUND;
    }
    return cResourceArchive::NOT_FOUND;
}

void PutU32(unsigned char* out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(v >> (8 * i));
}

// FNV-1a, 64 bits: what was written is compared with what reads back without holding both.
struct cHash
{
    uint64_t value = 14695981039346656037ull;
    void Add(const unsigned char* bytes, size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            value = (value ^ bytes[i]) * 1099511628211ull;
    }
};

cResourceArchive::eResult FindIn(cReader& reader, const std::string& name, unsigned char** data,
                                 uint32_t* size, std::string* error)
{
    *data = nullptr;
    bool matched = false;
    cRecord found;
    cResourceArchive::eResult result = Walk(reader, error, &name, [&](const cRecord& r) {
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

cResourceArchive::eResult ListIn(cReader& reader,
                                 const std::function<void(const cResourceArchive::cEntry&)>& visit,
                                 std::string* error)
{
    cResourceArchive::cEntry entry;
    cResourceArchive::eResult result = Walk(reader, error, nullptr, [&](const cRecord& r) {
        entry.name = r.name;
        entry.size = r.size;
        visit(entry);
        return true;
    });
    // Walking every entry ends in NOT_FOUND; for a listing that is success.
    return result == cResourceArchive::NOT_FOUND ? cResourceArchive::FOUND : result;
}

// Whether every entry of the archive just written reads back, in table order, with the
// name, size and bytes it was given: one pass, one block in memory.
bool ReadsBack(int fd, const std::vector<cResourceArchive::cSource>& sources,
               const std::vector<uint64_t>& hashes, std::string* error)
{
    cReader reader(fd);
    size_t i = 0;
    std::vector<unsigned char> block(64 << 10);
    const cResourceArchive::eResult result = Walk(reader, error, nullptr, [&](const cRecord& r) {
        if (i >= sources.size() || r.name != sources[i].name || r.size != sources[i].size)
            return false;
        cHash hash;
        for (uint64_t done = 0; done < r.size;) {
            const uint64_t count = std::min<uint64_t>(block.size(), r.size - done);
            if (!reader.ReadAt(r.dataOffset + done, block.data(), count))
                return false;
            hash.Add(block.data(), count);
            done += count;
        }
        if (hash.value != hashes[i])
            return false;
        ++i;
        return true;
    });
    if (result == cResourceArchive::NOT_FOUND && i == sources.size())
        return true;
    const std::string which = i < sources.size() ? "'" + sources[i].name + "'" : "an entry";
    *error = which + " does not read back as written" + (error->empty() ? "" : ": " + *error);
    return false;
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
                                                 const std::function<void(const cEntry&)>& visit,
                                                 std::string* error)
{
    cReader reader(path);
    return ListIn(reader, visit, error);
}

cResourceArchive::eResult
cResourceArchive::ListInMemory(const unsigned char* archive, size_t archiveSize,
                               const std::function<void(const cEntry&)>& visit, std::string* error)
{
    cReader reader(archive, archiveSize);
    return ListIn(reader, visit, error);
}

bool cResourceArchive::WriteFrom(const std::string& path, const std::vector<cSource>& sources,
                                 std::string* error)
{
    const auto refuse = [&](const std::string& reason) {
        *error = path + ": " + reason;
        return false;
    };
    // Only what the reader takes back: the same limits, so the game never meets an
    // archive its own tool made and it refuses.
    uint64_t total = 4 + 4 * static_cast<uint64_t>(sources.size());
    if (sources.size() > MAX_ENTRY_COUNT)
        return refuse("an archive holds at most " + std::to_string(MAX_ENTRY_COUNT) + " entries");
    for (const cSource& s : sources) {
        if (s.name.empty() || s.name.size() > MAX_NAME_LENGTH ||
            s.name.find('\0') != std::string::npos)
            return refuse("an entry name must be 1 to " + std::to_string(MAX_NAME_LENGTH) +
                          " bytes and hold no zero byte");
        if (s.size > MAX_ENTRY_SIZE)
            return refuse("'" + s.name + "' is larger than " +
                          std::to_string(MAX_ENTRY_SIZE >> 20) + " MiB");
        total += 8 + s.name.size() + s.size;
    }
    if (total > MAX_ARCHIVE_SIZE)
        return refuse("the archive would be larger than 2 GiB");

    cFileReplacer file(path);
    std::string reason;
    if (!file.Open(&reason))
        return refuse(reason);
    std::vector<unsigned char> table(4 + 4 * sources.size());
    PutU32(&table[0], static_cast<uint32_t>(sources.size()));
    uint64_t offset = table.size();
    for (size_t i = 0; i < sources.size(); ++i) {
        PutU32(&table[4 + 4 * i], static_cast<uint32_t>(offset));
        offset += 8 + sources[i].name.size() + sources[i].size;
    }
    if (!file.Write(table.data(), table.size(), &reason))
        return refuse(reason);
    std::vector<uint64_t> hashes;
    for (const cSource& s : sources) {
        unsigned char header[8];
        PutU32(header, static_cast<uint32_t>(s.size));
        PutU32(header + 4, static_cast<uint32_t>(s.name.size()));
        if (!file.Write(header, 8, &reason) || !file.Write(s.name.data(), s.name.size(), &reason))
            return refuse(reason);
        cHash hash;
        uint64_t handed = 0;
        bool written = true;
        const bool read = s.read(
            [&](const unsigned char* bytes, size_t count) {
                hash.Add(bytes, count);
                handed += count;
                written = handed <= s.size && file.Write(bytes, count, &reason);
                return written;
            },
            &reason);
        if (!written)
            return refuse(handed > s.size ? "'" + s.name + "' grew while being read" : reason);
        if (!read) {
            *error = reason.empty() ? path + ": '" + s.name + "' can't be read" : reason;
            return false;
        }
        if (handed != s.size)
            return refuse("'" + s.name + "' shrank while being read");
        hashes.push_back(hash.value);
    }
    // Every entry through the game's own reader before the old archive is given up.
    if (!ReadsBack(file.Descriptor(), sources, hashes, &reason))
        return refuse(reason);
    if (!file.Commit(&reason))
        return refuse(reason);
    return true;
}

bool cResourceArchive::Write(const std::string& path, const std::vector<cFile>& files,
                             std::string* error)
{
    std::vector<cSource> sources;
    for (const cFile& f : files)
        sources.push_back({f.name, f.data.size(), [&f](const cSink& sink, std::string*) {
                               return sink(f.data.data(), f.data.size());
                           }});
    return WriteFrom(path, sources, error);
}

unsigned char* cResourceArchive::LoadResource(const std::string& path, const std::string& shownPath,
                                              const char* name, uint32_t& size, cLoadError* failure)
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
        *failure = {cLoadError::STANDARD_OUTPUT, "Broken resource file '" + shownPath +
                                                     "' while looking for '" + name +
                                                     "': " + error};
        break;
    }
    return nullptr;
}

std::string cResourceArchive::PathInWorkingDirectory(const char* archiveName)
{
    // No fixed-size buffer: the working directory may have a name of any length.
    char* cwd = getcwd(nullptr, 0);
    if (!cwd)
        return archiveName;
    std::string path = std::string(cwd) + "/" + archiveName;
    free(cwd);
    return path;
}
