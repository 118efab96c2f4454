// zagonetar-pak: packs, lists and extracts the game's resource archives.
#include "resources/cResourceArchive.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Usage()
{
    fprintf(stderr,
            "usage: zagonetar-pak pack OUT FILE...      pack files, each named by its base name\n"
            "       zagonetar-pak list ARCHIVE          name and size of every entry\n"
            "       zagonetar-pak extract ARCHIVE NAME [OUT]\n");
    return 2;
}

bool ReadFile(const char* path, std::vector<unsigned char>* data)
{
    FILE* file = fopen(path, "rb");
    if (!file) {
        fprintf(stderr, "zagonetar-pak: %s: %s\n", path, strerror(errno));
        return false;
    }
    data->clear();
    unsigned char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        data->insert(data->end(), buffer, buffer + got);
    bool ok = !ferror(file);
    fclose(file);
    if (!ok)
        fprintf(stderr, "zagonetar-pak: %s: read failed\n", path);
    return ok;
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* Describe(cResourceArchive::eResult result)
{
    switch (result) {
    case cResourceArchive::OPEN_FAILED:
        return "can't be opened";
    case cResourceArchive::NOT_FOUND:
        return "has no such entry";
    case cResourceArchive::MALFORMED:
        return "is broken";
    default:
        return "";
    }
}

int Pack(const char* out, int count, char** paths)
{
    std::vector<cResourceArchive::cFile> files;
    for (int i = 0; i < count; ++i) {
        cResourceArchive::cFile file;
        file.name = BaseName(paths[i]);
        if (file.name.empty()) {
            fprintf(stderr, "zagonetar-pak: %s names no file\n", paths[i]);
            return 1;
        }
        if (!ReadFile(paths[i], &file.data))
            return 1;
        files.push_back(std::move(file));
    }
    std::string error;
    if (!cResourceArchive::Write(out, files, &error)) {
        fprintf(stderr, "zagonetar-pak: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int List(const char* archive)
{
    std::vector<cResourceArchive::cEntry> entries;
    std::string error;
    cResourceArchive::eResult result = cResourceArchive::List(archive, &entries, &error);
    if (result != cResourceArchive::FOUND) {
        fprintf(stderr, "zagonetar-pak: %s %s: %s\n", archive, Describe(result), error.c_str());
        return 1;
    }
    for (const cResourceArchive::cEntry& entry : entries)
        printf("%s\t%u\n", entry.name.c_str(), entry.size);
    return 0;
}

int Extract(const char* archive, const char* name, const char* out)
{
    unsigned char* data = nullptr;
    uint32_t size = 0;
    std::string error;
    cResourceArchive::eResult result = cResourceArchive::Find(archive, name, &data, &size, &error);
    if (result != cResourceArchive::FOUND) {
        fprintf(stderr, "zagonetar-pak: %s %s%s%s\n", archive, Describe(result),
                result == cResourceArchive::NOT_FOUND ? " named " : ": ",
                result == cResourceArchive::NOT_FOUND ? name : error.c_str());
        return 1;
    }
    FILE* file = fopen(out, "wb");
    if (!file) {
        fprintf(stderr, "zagonetar-pak: %s: %s\n", out, strerror(errno));
        free(data);
        return 1;
    }
    bool ok = fwrite(data, 1, size, file) == size;
    ok = fclose(file) == 0 && ok;
    free(data);
    if (!ok) {
        fprintf(stderr, "zagonetar-pak: %s: write failed\n", out);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "pack" && argc >= 3)
        return Pack(argv[2], argc - 3, argv + 3);
    if (command == "list" && argc == 3)
        return List(argv[2]);
    if (command == "extract" && (argc == 4 || argc == 5))
        return Extract(argv[2], argv[3], argc == 5 ? argv[4] : BaseName(argv[3]).c_str());
    return Usage();
}
