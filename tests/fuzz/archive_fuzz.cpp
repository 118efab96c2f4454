// libFuzzer target: arbitrary bytes as a resource archive, looked up and listed.
#include "resources/cResourceArchive.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string ScratchPath()
{
    return "/tmp/zagonetar-fuzz-" + std::to_string(getpid()) + ".bin";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = ScratchPath();
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        abort();
    if (size > 0)
        fwrite(data, 1, size, file);
    fclose(file);

    // A few names the game asks for, and one nobody stores.
    for (const char* name : {"sivo.gif", "klik.wav", "fnt.gif", "x", "nema-me"}) {
        unsigned char* found = nullptr;
        uint32_t foundSize = 0;
        std::string error;
        cResourceArchive::eResult result =
            cResourceArchive::Find(path, name, &found, &foundSize, &error);
        if (result == cResourceArchive::FOUND) {
            if (!found || foundSize > size)
                abort(); // the entry can never be larger than the file holding it
            free(found);
        } else if (found || (result == cResourceArchive::MALFORMED && error.empty())) {
            abort(); // a refusal hands back nothing and always says why
        }
    }
    std::vector<cResourceArchive::cEntry> entries;
    std::string error;
    cResourceArchive::List(path, &entries, &error);
    return 0;
}
