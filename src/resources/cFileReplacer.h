// Writes a file whole or not at all. The bytes go to a temporary file beside it, which
// takes its name by a rename once complete and on disk; until then, and on any failure
// (a full disk, a size limit), the old file stays exactly as it was and the temporary one
// is removed. The rename also means a hard link to the old file never sees the new bytes.
#pragma once

#include <cstddef>
#include <string>

class cFileReplacer
{
public:
    explicit cFileReplacer(std::string path);
    ~cFileReplacer();
    cFileReplacer(const cFileReplacer&) = delete;
    cFileReplacer& operator=(const cFileReplacer&) = delete;

    // Makes the temporary file. Refuses a path that holds something other than a regular
    // file: a symbolic link, a pipe, a device or a folder is never followed, opened or
    // replaced. A new file's mode follows the umask; a replaced file keeps its mode and
    // owner, or is refused when its owner can't be kept. False with *error saying why.
    bool Open(std::string* error);

    // Appends bytes; false with *error holding the system's reason.
    bool Write(const void* bytes, size_t count, std::string* error);

    // The temporary file, open for reading the written bytes back before Commit.
    int Descriptor() const { return fd; }

    // Flushes the bytes to disk and puts the file in place of the old one.
    bool Commit(std::string* error);

private:
    std::string path;
    std::string temp;
    int fd = -1;
};
