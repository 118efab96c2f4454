// The game's thirteen pictures, loaded once at start-up and released once at exit.
#pragma once

#include "resources/cLoadError.h"

#include <string>

struct SDL_Surface;

class cImageSet
{
public:
    // Slot order; they load in the order of cAssetNames::PICTURES, the font last.
    SDL_Surface* sivo = nullptr;                        // the intro's backdrop
    SDL_Surface* startSprajtmapa = nullptr;             // the start button's frames
    SDL_Surface* pejzaz = nullptr;                      // the landscape
    SDL_Surface* serijacijaIkonicaSprajtmapa = nullptr; // the log puzzle's icon
    SDL_Surface* sssBezBalvana = nullptr;               // the puzzle's backdrop
    SDL_Surface* balvaniSprajtmapa = nullptr;           // the ten logs
    SDL_Surface* dugmeIzlazSprajtmapa = nullptr;        // the exit button's frames
    SDL_Surface* cvet = nullptr;                        // a slot's flower
    SDL_Surface* meniDa = nullptr;                      // the dialog on "yes"
    SDL_Surface* meniNe = nullptr;                      // the dialog on "no"
    SDL_Surface* nazivAplikacije = nullptr;             // the title
    SDL_Surface* programer = nullptr;                   // the credit
    SDL_Surface* fnt = nullptr;                         // the glyph sheet

    // Decodes one GIF entry of the archive opened as `archive` (messages name it
    // `shownPath`) and converts it to the display's format. Returns null with *failure set
    // when the archive or entry is missing or the picture can't be used.
    static SDL_Surface* LoadImage(const char* archive, const std::string& shownPath,
                                  const char* name, cLoadError* failure);

    // Needs the video mode set: the pictures are converted to the display's format. On
    // failure whatever was loaded is released again.
    bool LoadImages(cLoadError* failure);
    void FreeImages();
};
