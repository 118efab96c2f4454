// A fresh folder under /tmp, removed with everything in it when the object goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class cTempDir
{
public:
    cTempDir() : path("/tmp/zagonetar-test-XXXXXX")
    {
        if (!mkdtemp(&path[0]))
            abort();
    }
    ~cTempDir() { std::filesystem::remove_all(path, ignored); }
    cTempDir(const cTempDir&) = delete;
    cTempDir& operator=(const cTempDir&) = delete;

    const std::string& Path() const { return path; }
    std::string operator/(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
    std::error_code ignored; // whatever a test made unremovable stays behind
};
