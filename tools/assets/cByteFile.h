// Writes a finished asset to disk in one go.
#pragma once

#include <cstddef>
#include <string>

class cByteFile
{
public:
    // Creates or truncates `path` and writes `size` bytes; false with *error on failure.
    static bool Write(const std::string& path, const void* data, size_t size, std::string* error);
};
