// The game's thirteen pictures, loaded once at start-up and released once at exit.
#pragma once

#include <string>

struct SDL_Surface;

class cImageSet
{
public:
    // Slot order; the load order differs (see LoadImages).
    SDL_Surface* sivo = nullptr;                        // "sivo.gif", the intro's backdrop
    SDL_Surface* startSprajtmapa = nullptr;             // "start_sprajtmapa.gif"
    SDL_Surface* pejzaz = nullptr;                      // "pejzaz-s.gif"
    SDL_Surface* serijacijaIkonicaSprajtmapa = nullptr; // "serijacija_ikonica_sprajtmapa.gif"
    SDL_Surface* sssBezBalvana = nullptr;               // "sss_bez_balvana.gif"
    SDL_Surface* balvaniSprajtmapa = nullptr;           // "balvani_sprajtmapa.gif"
    SDL_Surface* dugmeIzlazSprajtmapa = nullptr;        // "dugme_izlaz_sprajtmapa.gif"
    SDL_Surface* cvet = nullptr;                        // "cvet.gif"
    SDL_Surface* meniDa = nullptr;                      // "meni_da.gif"
    SDL_Surface* meniNe = nullptr;                      // "meni_ne.gif"
    SDL_Surface* nazivAplikacije = nullptr;             // "naziv_aplikacije.gif"
    SDL_Surface* programer = nullptr;                   // "programer.gif"
    SDL_Surface* fnt = nullptr;                         // "fnt.gif", the glyph sheet

    // Decodes one GIF entry and converts it to the display's format. An entry that
    // can't be decoded or converted writes "greska.txt" and ends the program with 1.
    static SDL_Surface* LoadImage(const std::string& archivePath, const char* name);

    // Needs the video mode set: the pictures are converted to the display's format.
    void LoadImages();
    void FreeImages();
};
