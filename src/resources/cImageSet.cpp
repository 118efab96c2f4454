// Loading and releasing the game's pictures.
#include "resources/cImageSet.h"

#include "resources/cAssetNames.h"
#include "resources/cMediaCheck.h"
#include "resources/cResourceArchive.h"

#include <SDL.h>
#include <SDL_image.h>
#include <cstdlib>

namespace {

// The slot of each picture of cAssetNames::PICTURES, row for row.
SDL_Surface* cImageSet::*const PICTURE_SLOTS[cAssetNames::PICTURE_COUNT] = {
    &cImageSet::sivo,
    &cImageSet::startSprajtmapa,
    &cImageSet::pejzaz,
    &cImageSet::serijacijaIkonicaSprajtmapa,
    &cImageSet::sssBezBalvana,
    &cImageSet::balvaniSprajtmapa,
    &cImageSet::dugmeIzlazSprajtmapa,
    &cImageSet::cvet,
    &cImageSet::nazivAplikacije,
    &cImageSet::programer,
    &cImageSet::meniDa,
    &cImageSet::meniNe,
};

cLoadError Undecodable(const char* reason)
{
    return {cLoadError::GRESKA_TXT, std::string("Unable to load bitmap: ") + reason};
}

} // namespace

SDL_Surface* cImageSet::LoadImage(const char* archive, const std::string& shownPath,
                                  const char* name, cLoadError* failure)
{
    uint32_t size = 0;
    unsigned char* buffer = cResourceArchive::LoadResource(archive, shownPath, name, size, failure);
    if (!buffer)
        return nullptr;
    // SDL_image trusts the sizes and blocks a GIF declares; a hostile one would crash it,
    // take gigabytes or spin forever.
    std::string refusal;
    if (cMediaCheck::CheckGif(buffer, size, &refusal) == cMediaCheck::REFUSED) {
        free(buffer);
        *failure = Undecodable(refusal.c_str());
        return nullptr;
    }
    SDL_RWops* stream = SDL_RWFromMem(buffer, static_cast<int>(size));
    SDL_Surface* decoded = stream ? IMG_LoadGIF_RW(stream) : nullptr;
    if (stream)
        SDL_FreeRW(stream);
    free(buffer);
    if (!decoded) {
        *failure = Undecodable(SDL_GetError());
        return nullptr;
    }

    SDL_Surface* converted = SDL_DisplayFormat(decoded);
    SDL_FreeSurface(decoded);
    if (!converted) {
        *failure = Undecodable(SDL_GetError());
        return nullptr;
    }
    // The same colour key, run-length encoded: transparent runs are skipped whole when
    // the picture is drawn, every frame.
    if (converted->flags & SDL_SRCCOLORKEY)
        SDL_SetColorKey(converted, SDL_SRCCOLORKEY | SDL_RLEACCEL, converted->format->colorkey);
    return converted;
}

bool cImageSet::LoadImages(cLoadError* failure)
{
    const char* const archive = cAssetNames::IMAGE_ARCHIVE;
    const std::string shown = cResourceArchive::PathInWorkingDirectory(archive);
    bool ok = true;
    for (int i = 0; ok && i < cAssetNames::PICTURE_COUNT; ++i) {
        this->*PICTURE_SLOTS[i] = LoadImage(archive, shown, cAssetNames::PICTURES[i].name, failure);
        ok = this->*PICTURE_SLOTS[i] != nullptr;
    }
    // Messages name the font archive by its bare name.
    if (ok)
        ok = (fnt = LoadImage(cAssetNames::FONT_ARCHIVE, cAssetNames::FONT_ARCHIVE,
                              cAssetNames::FONT, failure)) != nullptr;
    if (!ok)
        FreeImages();
    return ok;
}

void cImageSet::FreeImages()
{
    for (SDL_Surface* cImageSet::*slot : PICTURE_SLOTS) {
        SDL_FreeSurface(this->*slot);
        this->*slot = nullptr;
    }
    SDL_FreeSurface(fnt);
    fnt = nullptr;
}
