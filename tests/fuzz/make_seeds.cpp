// make-seeds DIR: a seed corpus of small well-formed and malformed archives, and a few
// picture and sound headers.
#include "resources/cResourceArchive.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Archive(const std::vector<cResourceArchive::cFile>& files, const std::string& scratch)
{
    std::string error;
    cResourceArchive::Write(scratch, files, &error);
    Bytes out;
    FILE* f = fopen(scratch.c_str(), "rb");
    int c;
    while (f && (c = fgetc(f)) != EOF)
        out.push_back(static_cast<unsigned char>(c));
    if (f)
        fclose(f);
    remove(scratch.c_str());
    return out;
}

void Save(const std::string& dir, const char* name, const Bytes& bytes)
{
    FILE* f = fopen((dir + "/" + name).c_str(), "wb");
    if (!f)
        return;
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make-seeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::string scratch = dir + "/.scratch";
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    Bytes game =
        Archive({{"sivo.gif", gif}, {"klik.wav", {'R', 'I', 'F', 'F'}}, {"fnt.gif", {}}}, scratch);
    Save(dir, "game", game);
    Save(dir, "duplicates", Archive({{"x", {'1'}}, {"x", {'2'}}}, scratch));
    Save(dir, "empty-archive", Archive({}, scratch));
    Save(dir, "empty-file", {});
    Bytes truncated(game.begin(), game.begin() + static_cast<long>(game.size() / 2));
    Save(dir, "truncated", truncated);
    Bytes hugeCount = game;
    hugeCount[3] = 0x7F;
    Save(dir, "huge-count", hugeCount);
    Bytes negativeCount = game;
    negativeCount[3] = 0x80;
    Save(dir, "negative-count", negativeCount);
    Bytes wildOffset = game;
    wildOffset[7] = 0x40;
    Save(dir, "wild-offset", wildOffset);
    Bytes hugeName = game;
    hugeName[game[4] + 7] = 0xFF; // top byte of the first record's name length
    Save(dir, "huge-name", hugeName);

    // A one-pixel GIF with a colour table and a graphic control extension, the same
    // declaring 16383x32767, and two WAV headers: 22050 Hz mono PCM and ADPCM with a
    // zero block size.
    const Bytes smallGif = {'G', 'I', 'F', '8', '9',  'a',  1, 0, 1, 0,    0x80, 0, 0,    0, 0,
                            0,   255, 255, 255, 0x21, 0xF9, 4, 1, 0, 0,    0,    0, 0x2C, 0, 0,
                            0,   0,   1,   0,   1,    0,    0, 2, 2, 0x44, 1,    0, 0x3B};
    Save(dir, "gif-small", smallGif);
    Bytes hugeGif = smallGif;
    hugeGif[6] = hugeGif[32] = 0xFF;
    hugeGif[7] = hugeGif[33] = 0x3F;
    hugeGif[8] = hugeGif[34] = 0xFF;
    hugeGif[9] = hugeGif[35] = 0x7F;
    Save(dir, "gif-huge", hugeGif);
    Bytes wav = {'R', 'I', 'F', 'F', 40,  0,   0,   0,   'W',  'A',  'V', 'E', 'f',  'm',  't', ' ',
                 16,  0,   0,   0,   1,   0,   1,   0,   0x22, 0x56, 0,   0,   0x44, 0xAC, 0,   0,
                 2,   0,   16,  0,   'd', 'a', 't', 'a', 4,    0,    0,   0,   0,    0,    0,   0};
    Save(dir, "wav-pcm", wav);
    wav[20] = 2;           // ADPCM
    wav[32] = wav[33] = 0; // block size 0
    Save(dir, "wav-adpcm", wav);
    return 0;
}
