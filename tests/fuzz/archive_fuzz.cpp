// libFuzzer target: arbitrary bytes as a resource archive, looked up and listed, read
// straight from memory through the same checks the game's file path uses.
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
    size_t listed = 0;
    std::string error;
    cResourceArchive::ListInMemory(
        data, size,
        [&](const cResourceArchive::cEntry& entry) {
            // Each entry has its slot in the table and its name in a record after it.
            if (entry.name.size() > cResourceArchive::MAX_NAME_LENGTH || 4 * ++listed > size)
                abort();
        },
        &error);
    return 0;
}
