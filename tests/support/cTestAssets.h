// Small stand-in pictures, sounds and archives that tests build for themselves.
#pragma once

#include "resources/cResourceArchive.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cTestAssets {

using Bytes = std::vector<unsigned char>;

// A GIF89a of w x h whose pixel (x, y) has palette index pixel(x, y). Palette index 0
// is transparent when `transparent` is set.
Bytes Gif(int w, int h, const std::vector<uint32_t>& paletteRgb,
          const std::function<int(int, int)>& pixel, bool transparent);
// A GIF of one solid colour.
Bytes SolidGif(int w, int h, uint32_t rgb);
// The glyph sheet: every glyph cell filled with opaque white, transparent elsewhere.
Bytes FontGif();
// A 22050 Hz mono 16-bit WAV of a short beep.
Bytes Wav();
// A format 0 MIDI file with a few notes.
Bytes Midi();
// A PNG signature and header: not a GIF.
Bytes Png();

// The names and sizes the game asks for, in the image archive's slot order.
struct cImageSpec
{
    const char* name;
    int w;
    int h;
    uint32_t rgb;
};
const std::vector<cImageSpec>& Images();

// Entries of the three archives, built from the stand-ins above.
std::vector<cResourceArchive::cFile> ImageFiles();
std::vector<cResourceArchive::cFile> SoundFiles();
std::vector<cResourceArchive::cFile> FontFiles();

// Writes "imgres001.bin", "sndres001.bin" and "fntres001.bin" into `dir`.
void WriteGameArchives(const std::string& dir);
void WriteArchive(const std::string& path, const std::vector<cResourceArchive::cFile>& files);
// Removes the entry `name` from `files`, or replaces its data.
void Without(std::vector<cResourceArchive::cFile>& files, const std::string& name);
void Replace(std::vector<cResourceArchive::cFile>& files, const std::string& name,
             const Bytes& data);

} // namespace cTestAssets
