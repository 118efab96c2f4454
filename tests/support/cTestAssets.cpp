// Builds the tests' stand-in assets with giflib and a few lines of WAV and MIDI.
#include "cTestAssets.h"

#include "widgets/cTekst.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gif_lib.h>

namespace cTestAssets {

namespace {

int WriteToBytes(GifFileType* gif, const GifByteType* data, int length)
{
    Bytes* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

void PutLe(Bytes& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void PutBe(Bytes& out, uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void Append(Bytes& out, const char* text)
{
    while (*text)
        out.push_back(static_cast<unsigned char>(*text++));
}

} // namespace

Bytes Gif(int w, int h, const std::vector<uint32_t>& paletteRgb,
          const std::function<int(int, int)>& pixel, bool transparent)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToBytes, &error);
    EGifSetGifVersion(gif, true);
    GifColorType colours[256] = {};
    for (size_t i = 0; i < paletteRgb.size() && i < 256; ++i) {
        colours[i].Red = static_cast<GifByteType>(paletteRgb[i] >> 16);
        colours[i].Green = static_cast<GifByteType>(paletteRgb[i] >> 8);
        colours[i].Blue = static_cast<GifByteType>(paletteRgb[i]);
    }
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifPutScreenDesc(gif, w, h, 8, 0, map);
    if (transparent) {
        GraphicsControlBlock gcb = {};
        gcb.TransparentColor = 0;
        GifByteType extension[4];
        EGifGCBToExtension(&gcb, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr);
    std::vector<GifPixelType> line(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            line[static_cast<size_t>(x)] = static_cast<GifPixelType>(pixel(x, y));
        EGifPutLine(gif, line.data(), w);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

Bytes SolidGif(int w, int h, uint32_t rgb)
{
    return Gif(
        w, h, {rgb}, [](int, int) { return 0; }, false);
}

Bytes FontGif()
{
    std::vector<unsigned char> ink(1000 * 38, 0);
    for (int c = 0; c < 256; ++c) {
        const cTekst::cGlyph* glyph = cTekst::Glyph(static_cast<unsigned char>(c));
        if (!glyph)
            continue;
        for (int y = glyph->y; y < glyph->y + cTekst::GLYPH_HEIGHT; ++y)
            for (int x = glyph->x; x < glyph->x + glyph->w; ++x)
                ink[static_cast<size_t>(y * 1000 + x)] = 1;
    }
    return Gif(
        1000, 38, {0x000000, 0xFFFFFF},
        [&](int x, int y) { return ink[static_cast<size_t>(y * 1000 + x)]; }, true);
}

Bytes Wav()
{
    const uint32_t samples = 2205;
    Bytes out;
    Append(out, "RIFF");
    PutLe(out, 36 + samples * 2, 4);
    Append(out, "WAVEfmt ");
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, 1, 2); // mono
    PutLe(out, 22050, 4);
    PutLe(out, 44100, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    Append(out, "data");
    PutLe(out, samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i)
        PutLe(out, static_cast<uint16_t>(static_cast<int16_t>(8000 * sin(i * 0.1))), 2);
    return out;
}

Bytes Midi()
{
    Bytes track;
    const unsigned char events[] = {
        0x00, 0xC0, 0x00, // piano
        0x00, 0x90, 60,   100,  0x60, 0x80, 60,   0,    0x00, 0x90,
        64,   100,  0x60, 0x80, 64,   0,    0x00, 0xFF, 0x2F, 0x00, // end of track
    };
    track.assign(events, events + sizeof events);
    Bytes out;
    Append(out, "MThd");
    PutBe(out, 6, 4);
    PutBe(out, 0, 2);
    PutBe(out, 1, 2);
    PutBe(out, 96, 2);
    Append(out, "MTrk");
    PutBe(out, static_cast<uint32_t>(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

Bytes Png()
{
    const unsigned char bytes[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0,
                                   0,    13,  'I', 'H', 'D',  'R',  0,    0,    0, 1,
                                   0,    0,   0,   1,   8,    2,    0,    0,    0};
    return Bytes(bytes, bytes + sizeof bytes);
}

const std::vector<cImageSpec>& Images()
{
    static const std::vector<cImageSpec> images = {
        {"sivo.gif", 640, 480, 0x808080},
        {"start_sprajtmapa.gif", 645, 102, 0x20A020},
        {"pejzaz-s.gif", 640, 480, 0x60C0F0},
        {"serijacija_ikonica_sprajtmapa.gif", 141, 37, 0xF0C000},
        {"sss_bez_balvana.gif", 640, 480, 0x70B040},
        {"balvani_sprajtmapa.gif", 284, 198, 0x8B5A2B},
        {"dugme_izlaz_sprajtmapa.gif", 267, 75, 0xD03030},
        {"cvet.gif", 20, 20, 0xFF60A0},
        {"meni_da.gif", 256, 128, 0x3040C0},
        {"meni_ne.gif", 256, 128, 0x30C0C0},
        {"naziv_aplikacije.gif", 560, 90, 0xF0F0F0},
        {"programer.gif", 180, 20, 0x202020},
    };
    return images;
}

std::vector<cResourceArchive::cFile> ImageFiles()
{
    std::vector<cResourceArchive::cFile> files;
    for (const cImageSpec& image : Images())
        files.push_back({image.name, SolidGif(image.w, image.h, image.rgb)});
    return files;
}

std::vector<cResourceArchive::cFile> SoundFiles()
{
    std::vector<cResourceArchive::cFile> files;
    for (const char* name :
         {"klik.wav", "prijava.wav", "odjava.wav", "aplauz.wav", "ubac.wav", "ponovo.wav"})
        files.push_back({name, Wav()});
    files.push_back({"aladin.mid", Midi()});
    return files;
}

std::vector<cResourceArchive::cFile> FontFiles()
{
    return {{"fnt.gif", FontGif()}};
}

void WriteArchive(const std::string& path, const std::vector<cResourceArchive::cFile>& files)
{
    std::string error;
    if (!cResourceArchive::Write(path, files, &error)) {
        fprintf(stderr, "test archive %s: %s\n", path.c_str(), error.c_str());
        abort();
    }
}

void WriteGameArchives(const std::string& dir)
{
    WriteArchive(dir + "/imgres001.bin", ImageFiles());
    WriteArchive(dir + "/sndres001.bin", SoundFiles());
    WriteArchive(dir + "/fntres001.bin", FontFiles());
}

void Without(std::vector<cResourceArchive::cFile>& files, const std::string& name)
{
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (it->name == name) {
            files.erase(it);
            return;
        }
    }
}

void Replace(std::vector<cResourceArchive::cFile>& files, const std::string& name,
             const Bytes& data)
{
    for (cResourceArchive::cFile& file : files)
        if (file.name == name)
            file.data = data;
}

} // namespace cTestAssets
