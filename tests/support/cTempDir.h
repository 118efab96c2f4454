// A fresh folder under /tmp, removed with everything in it when the object goes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <string>

class cTempDir
{
public:
    cTempDir()
    {
        char name[] = "/tmp/zagonetar-test-XXXXXX";
        if (!mkdtemp(name))
            abort();
        path = name;
    }
    ~cTempDir()
    {
        nftw(
            path.c_str(),
            [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }
    cTempDir(const cTempDir&) = delete;
    cTempDir& operator=(const cTempDir&) = delete;

    const std::string& Path() const { return path; }
    std::string operator/(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};
