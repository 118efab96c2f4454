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
#include <string>
#include <vector>

class cResourceArchive
{
public:
    enum eResult { FOUND, OPEN_FAILED, NOT_FOUND, MALFORMED };

    // The reader takes record offsets below 2 GiB, so no archive may grow past that.
    static const uint32_t MAX_ARCHIVE_SIZE = 0x7FFFFFFF;

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

    // Looks `name` up. On FOUND, *data is a malloc'd copy of the entry's bytes (the
    // caller frees it) and *size its byte count. On any other result *data is null and
    // *error says what went wrong (for OPEN_FAILED: the system's error text).
    static eResult Find(const std::string& path, const std::string& name, unsigned char** data,
                        uint32_t* size, std::string* error);

    // Every entry's name and size, in table order.
    static eResult List(const std::string& path, std::vector<cEntry>* entries, std::string* error);

    // The same two over an archive already in memory, read with the same checks.
    static eResult FindInMemory(const unsigned char* archive, size_t archiveSize,
                                const std::string& name, unsigned char** data, uint32_t* size,
                                std::string* error);
    static eResult ListInMemory(const unsigned char* archive, size_t archiveSize,
                                std::vector<cEntry>* entries, std::string* error);

    // Writes an archive holding `files` in the given order. The old archive at `path`, if
    // any, is replaced only once the new one is complete and reads back; on failure it
    // stays as it was and *error names the path and the reason.
    static bool Write(const std::string& path, const std::vector<cFile>& files, std::string* error);

    // The game's lookup: the entry's bytes (malloc'd), or null with *failure holding the
    // message the player's log expects.
    static unsigned char* LoadResource(const std::string& path, const char* name, uint32_t& size,
                                       cLoadError* failure);

    // The working directory + "/" + archive name, or false with *failure set when the
    // working directory can't be read.
    static bool PathInWorkingDirectory(const char* archiveName, std::string* path,
                                       cLoadError* failure);
};
