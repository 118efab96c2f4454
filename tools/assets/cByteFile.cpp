// Writing whole files for the asset builder.
#include "cByteFile.h"

#include <cstdio>

bool cByteFile::Write(const std::string& path, const void* data, size_t size, std::string* error)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        *error = "cannot create " + path;
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !ok) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}
