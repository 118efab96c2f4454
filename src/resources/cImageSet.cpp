// Loading and releasing the game's pictures.
#include "resources/cImageSet.h"

#include "resources/cResourceArchive.h"

#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void ReportUndecodable(const char* reason)
{
    // The player's only trace of a broken picture; the console stays quiet.
    FILE* file = fopen("greska.txt", "w");
    if (file) {
        fprintf(file, "Unable to load bitmap: %s\n", reason);
        fclose(file);
    }
    exit(1);
}

} // namespace

SDL_Surface* cImageSet::LoadImage(const std::string& archivePath, const char* name)
{
    uint32_t size = 0;
    unsigned char* buffer = cResourceArchive::LoadResource(archivePath, name, size);
    SDL_RWops* stream = SDL_RWFromMem(buffer, static_cast<int>(size));
    SDL_Surface* decoded = stream ? IMG_LoadGIF_RW(stream) : nullptr;
    if (stream)
        SDL_FreeRW(stream);
    free(buffer);
    if (!decoded)
        ReportUndecodable(SDL_GetError());

    SDL_Surface* converted = SDL_DisplayFormat(decoded);
    SDL_FreeSurface(decoded);
    if (!converted)
        ReportUndecodable(SDL_GetError());
    // The same colour key, run-length encoded: transparent runs are skipped whole when
    // the picture is drawn, every frame.
    if (converted->flags & SDL_SRCCOLORKEY)
        SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL, converted->format->colorkey);
    return converted;
}

void cImageSet::LoadImages()
{
    const std::string path = cResourceArchive::PathInWorkingDirectory("imgres001.bin");
    sivo = LoadImage(path, "sivo.gif");
    startSprajtmapa = LoadImage(path, "start_sprajtmapa.gif");
    pejzaz = LoadImage(path, "pejzaz-s.gif");
    serijacijaIkonicaSprajtmapa = LoadImage(path, "serijacija_ikonica_sprajtmapa.gif");
    sssBezBalvana = LoadImage(path, "sss_bez_balvana.gif");
    balvaniSprajtmapa = LoadImage(path, "balvani_sprajtmapa.gif");
    dugmeIzlazSprajtmapa = LoadImage(path, "dugme_izlaz_sprajtmapa.gif");
    cvet = LoadImage(path, "cvet.gif");
    nazivAplikacije = LoadImage(path, "naziv_aplikacije.gif");
    programer = LoadImage(path, "programer.gif");
    meniDa = LoadImage(path, "meni_da.gif");
    meniNe = LoadImage(path, "meni_ne.gif");
    // The font archive is opened by its bare name, relative to the working directory.
    fnt = LoadImage("fntres001.bin", "fnt.gif");
}

void cImageSet::FreeImages()
{
    SDL_Surface** slots[] = {&sivo,
                             &startSprajtmapa,
                             &pejzaz,
                             &serijacijaIkonicaSprajtmapa,
                             &sssBezBalvana,
                             &balvaniSprajtmapa,
                             &dugmeIzlazSprajtmapa,
                             &cvet,
                             &meniDa,
                             &meniNe,
                             &nazivAplikacije,
                             &programer,
                             &fnt};
    for (SDL_Surface** slot : slots) {
        SDL_FreeSurface(*slot);
        *slot = nullptr;
    }
}
