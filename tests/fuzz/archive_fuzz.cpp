// libFuzzer target: arbitrary bytes as a resource archive, looked up and listed, and as a
// picture and a sound header. The archive is read straight from memory through the same
// checks the game's file path uses.
#include "resources/cMediaCheck.h"
#include "resources/cResourceArchive.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A few names the game asks for, and one nobody stores.
    for (const char* name : {"sivo.gif", "klik.wav", "fnt.gif", "x", "nema-me"}) {
        unsigned char* found = nullptr;
        uint32_t foundSize = 0;
        std::string error;
        cResourceArchive::eResult result =
            cResourceArchive::FindInMemory(data, size, name, &found, &foundSize, &error);
        if (result == cResourceArchive::FOUND) {
            if (!found || foundSize > size)
                abort(); // the entry can never be larger than the archive holding it
            free(found);
        } else if (found || (result == cResourceArchive::MALFORMED && error.empty())) {
            abort(); // a refusal hands back nothing and always says why
        }
    }
    std::vector<cResourceArchive::cEntry> entries;
    std::string error;
    cResourceArchive::ListInMemory(data, size, &entries, &error);

    std::string message;
    if (cMediaCheck::CheckGif(data, size, &message) == cMediaCheck::BAD_SIZE && message.empty())
        abort(); // a refused picture always names its size
    cMediaCheck::IsPlayableWav(data, size);
    return 0;
}
