// The game's archives and the names of the pictures, sounds and music inside them. The
// loaders, the tests' stand-in archives and the asset build (tools/assets/CMakeLists.txt
// reads the rows below) all take the names from here.
#pragma once

class cAssetNames
{
public:
    static constexpr const char* IMAGE_ARCHIVE = "imgres001.bin";
    static constexpr const char* SOUND_ARCHIVE = "sndres001.bin";
    static constexpr const char* FONT_ARCHIVE = "fntres001.bin";

    struct cPicture
    {
        const char* name;
        // The colour the picture's soft edges are blended over when it is drawn from its
        // source: the colour it usually stands on. Empty for opaque pictures.
        const char* matte;
    };

    // In the order the game loads them from IMAGE_ARCHIVE, one row per line.
    static constexpr int PICTURE_COUNT = 12;
    static constexpr cPicture PICTURES[PICTURE_COUNT] = {
        {"sivo.gif", ""},
        {"start_sprajtmapa.gif", "b9c3cc"},
        {"pejzaz-s.gif", ""},
        {"serijacija_ikonica_sprajtmapa.gif", "ffffff"},
        {"sss_bez_balvana.gif", ""},
        {"balvani_sprajtmapa.gif", ""},
        {"dugme_izlaz_sprajtmapa.gif", "cfe8f7"},
        {"cvet.gif", "8cc04c"},
        {"naziv_aplikacije.gif", "b9c3cc"},
        {"programer.gif", "b9c3cc"},
        {"meni_da.gif", ""},
        {"meni_ne.gif", ""},
    };
    // The glyph sheet, alone in FONT_ARCHIVE.
    static constexpr const char* FONT = "fnt.gif";

    // In the order the game loads them from SOUND_ARCHIVE, the music last.
    static constexpr int SOUND_COUNT = 6;
    static constexpr const char* SOUNDS[SOUND_COUNT] = {
        "prijava.wav", "odjava.wav", "klik.wav", "aplauz.wav", "ubac.wav", "ponovo.wav",
    };
    static constexpr const char* MUSIC = "aladin.mid";
};
