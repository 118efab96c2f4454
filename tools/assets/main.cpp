// zagonetar-assets: builds the game's pictures, font sheet, sounds and music from their sources.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cByteFile.h"
#include "cGifWriter.h"
#include "cGlyphSheet.h"
#include "cMidiWriter.h"
#include "cNoteList.h"
#include "cSoundSynth.h"
#include "cSvgRasterizer.h"
#include "cWavWriter.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage:\n"
                 "  zagonetar-assets gif IN.svg OUT.gif [--matte=RRGGBB]\n"
                 "  zagonetar-assets font OUT.gif\n"
                 "  zagonetar-assets font-svg OUT.svg\n"
                 "  zagonetar-assets wav NAME OUT.wav     (NAME: %s)\n"
                 "  zagonetar-assets midi IN.notes OUT.mid\n",
                 cSoundSynth::Names().c_str());
    return 2;
}

int Fail(const std::string& what)
{
    std::fprintf(stderr, "zagonetar-assets: %s\n", what.c_str());
    return 1;
}

int Gif(int argc, char** argv)
{
    if (argc < 4 || argc > 5)
        return Usage();
    bool hasMatte = false;
    uint32_t matte = 0;
    if (argc == 5) {
        const char* prefix = "--matte=";
        char* end = nullptr;
        if (std::strncmp(argv[4], prefix, std::strlen(prefix)) != 0)
            return Usage();
        matte = static_cast<uint32_t>(std::strtoul(argv[4] + std::strlen(prefix), &end, 16));
        if (*end != '\0')
            return Usage();
        hasMatte = true;
    }
    cRgbaImage image;
    std::string error;
    if (!cSvgRasterizer::RenderFile(argv[2], &image, &error))
        return Fail(std::string(argv[2]) + ": " + error);
    if (!cGifWriter::Write(image, argv[3], hasMatte, matte, &error))
        return Fail(error);
    return 0;
}

int Font(int argc, char** argv, bool asSvg)
{
    if (argc != 3)
        return Usage();
    std::string error;
    if (asSvg) {
        std::string svg;
        if (!cGlyphSheet::BuildSvg(&svg, &error))
            return Fail(error);
        if (!cByteFile::Write(argv[2], svg.data(), svg.size(), &error))
            return Fail(error);
        return 0;
    }
    cRgbaImage image;
    if (!cGlyphSheet::Render(&image, &error))
        return Fail(error);
    if (!cGifWriter::Write(image, argv[2], false, 0, &error))
        return Fail(error);
    return 0;
}

int Wav(int argc, char** argv)
{
    if (argc != 4)
        return Usage();
    std::vector<float> samples;
    if (!cSoundSynth::Synthesise(argv[2], &samples))
        return Fail(std::string("unknown sound ") + argv[2] + " (known: " + cSoundSynth::Names() +
                    ")");
    std::string error;
    if (!cWavWriter::Write(argv[3], samples, cSoundSynth::kSampleRate, &error))
        return Fail(error);
    return 0;
}

int Midi(int argc, char** argv)
{
    if (argc != 4)
        return Usage();
    cNoteList notes;
    std::string error;
    if (!notes.Load(argv[2], &error))
        return Fail(error);
    if (!cMidiWriter::Write(notes, argv[3], &error))
        return Fail(error);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "gif")
        return Gif(argc, argv);
    if (command == "font")
        return Font(argc, argv, false);
    if (command == "font-svg")
        return Font(argc, argv, true);
    if (command == "wav")
        return Wav(argc, argv);
    if (command == "midi")
        return Midi(argc, argv);
    return Usage();
}
