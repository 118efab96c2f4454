// Reads and writes the game's resource archives ("imgres001.bin" and friends).
//
// Layout, all integers 32-bit little-endian:
//   count N, then N absolute record offsets;
//   each record: data size S, name length L, L name bytes (no terminator), S data bytes.
// The reader trusts nothing it reads: every offset and length is checked against the
// file's size before anything is allocated or read.
#pragma once

#include "resources/cLoadError.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cResourceArchive
{
public:
    enum eResult { FOUND, OPEN_FAILED, NOT_FOUND, MALFORMED };

    // The reader takes record offsets below 2 GiB, so no archive may grow past that.
    static const uint32_t MAX_ARCHIVE_SIZE = 0x7FFFFFFF;
    // Limits far above anything the game holds (a dozen entries, the largest 115 KB), so
    // a hostile archive is refused at once instead of read for minutes or into gigabytes.
    static const uint32_t MAX_ENTRY_COUNT = 16384;
    static const uint32_t MAX_ENTRY_SIZE = 64 << 20;
    static const uint32_t MAX_NAME_LENGTH = 255;

    struct cEntry
    {
        std::string name;
        uint32_t size;
    };

    struct cFile
    {
        std::string name;
        std::vector<unsigned char> data;
    };

    // Bytes going into an entry, handed over a block at a time.
    using cSink = std::function<bool(const unsigned char* bytes, size_t count)>;

    // One entry to write: its name, its size, and a function that hands exactly that many
    // bytes to the sink, or returns false with *error saying why it could not.
    struct cSource
    {
        std::string name;
        uint64_t size;
        std::function<bool(const cSink& sink, std::string* error)> read;
    };

    // Looks `name` up. On FOUND, *data is a malloc'd copy of the entry's bytes (the
    // caller frees it) and *size its byte count. On any other result *data is null and
    // *error says what went wrong (for OPEN_FAILED: the system's error text).
    static eResult Find(const std::string& path, const std::string& name, unsigned char** data,
                        uint32_t* size, std::string* error);

    // Every entry's name and size, in table order, one at a time; a broken entry ends the
    // walk with MALFORMED after the entries before it.
    static eResult List(const std::string& path, const std::function<void(const cEntry&)>& visit,
                        std::string* error);

    // The same two over an archive already in memory, read with the same checks.
    static eResult FindInMemory(const unsigned char* archive, size_t archiveSize,
                                const std::string& name, unsigned char** data, uint32_t* size,
                                std::string* error);
    static eResult ListInMemory(const unsigned char* archive, size_t archiveSize,
                                const std::function<void(const cEntry&)>& visit,
                                std::string* error);

    // Writes an archive holding the entries in the given order, through cFileReplacer: the
    // old archive at `path`, if any, is replaced only once the new one is complete and
    // reads back, and keeps its mode and owner; on failure it stays as it was and *error
    // names the path and the reason. Only one entry's block is held in memory at a time.
    static bool WriteFrom(const std::string& path, const std::vector<cSource>& sources,
                          std::string* error);
    static bool Write(const std::string& path, const std::vector<cFile>& files, std::string* error);

    // The game's lookup in the archive opened as `path`: the entry's bytes (malloc'd), or
    // null with *failure holding the message the player's log expects, which names the
    // archive as `shownPath`.
    static unsigned char* LoadResource(const std::string& path, const std::string& shownPath,
                                       const char* name, uint32_t& size, cLoadError* failure);

    // The working directory + "/" + archive name, for messages; the bare name when the
    // working directory can't be had (its name longer than the system allows, say). The
    // game opens its archives by the bare name, which works either way.
    static std::string PathInWorkingDirectory(const char* archiveName);
};
