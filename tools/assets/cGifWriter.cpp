// Turns a rendered picture into a GIF89a: hard-edged transparency, ≤256 colours, giflib.
#include "cGifWriter.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <vector>

namespace {

// Straight (not premultiplied) RGBA with alpha forced to 0 or 255.
std::vector<uint8_t> HardenAlpha(const cRgbaImage& image, bool hasMatte, uint32_t matte)
{
    const int mr = (matte >> 16) & 0xff, mg = (matte >> 8) & 0xff, mb = matte & 0xff;
    std::vector<uint8_t> out(image.pixels.size(), 0);
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        const uint8_t* p = &image.pixels[i];
        const int a = p[3];
        if (a < 128)
            continue;
        int rgb[3] = {p[0], p[1], p[2]};
        const int mattes[3] = {mr, mg, mb};
        for (int c = 0; c < 3; ++c) {
            int v = hasMatte ? rgb[c] + mattes[c] * (255 - a) / 255 : rgb[c] * 255 / a;
            out[i + c] = static_cast<uint8_t>(v > 255 ? 255 : v);
        }
        out[i + 3] = 255;
    }
    return out;
}

int NearestOther(const std::vector<GifColorType>& colours, int skip, const uint8_t* rgb)
{
    int best = skip == 0 ? 1 : 0;
    long bestDistance = -1;
    for (int i = 0; i < static_cast<int>(colours.size()); ++i) {
        if (i == skip)
            continue;
        const long dr = colours[i].Red - rgb[0], dg = colours[i].Green - rgb[1],
                   db = colours[i].Blue - rgb[2];
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

bool cGifWriter::Write(const cRgbaImage& image, const std::string& path, bool hasMatte,
                       uint32_t matteRgb, std::string* error)
{
    const int w = image.width, h = image.height;
    std::vector<uint8_t> rgba = HardenAlpha(image, hasMatte, matteRgb);

    liq_attr* attr = liq_attr_create();
    liq_set_max_colors(attr, 256);
    liq_set_speed(attr, 3);
    liq_image* liqImage = liq_image_create_rgba(attr, rgba.data(), w, h, 0);
    liq_result* result = nullptr;
    if (!liqImage || liq_image_quantize(liqImage, attr, &result) != LIQ_OK) {
        *error = "colour reduction failed";
        if (liqImage)
            liq_image_destroy(liqImage);
        liq_attr_destroy(attr);
        return false;
    }
    // Light dithering smooths the sky gradients without speckling flat areas.
    liq_set_dithering_level(result, 0.5f);
    std::vector<uint8_t> indices(static_cast<size_t>(w) * h);
    liq_write_remapped_image(result, liqImage, indices.data(), indices.size());
    const liq_palette* palette = liq_get_palette(result);

    // One palette entry is the key colour; every see-through pixel uses it and no
    // opaque pixel may, whatever the quantiser decided.
    int transparent = -1;
    bool anyTransparent = false;
    for (size_t i = 0; i < indices.size(); ++i)
        if (rgba[i * 4 + 3] == 0) {
            anyTransparent = true;
            if (transparent < 0)
                transparent = indices[i];
        }
    std::vector<GifColorType> colours(palette->count);
    for (unsigned i = 0; i < palette->count; ++i)
        colours[i] = {palette->entries[i].r, palette->entries[i].g, palette->entries[i].b};
    for (size_t i = 0; i < indices.size(); ++i) {
        if (rgba[i * 4 + 3] == 0)
            indices[i] = static_cast<uint8_t>(transparent);
        else if (indices[i] == transparent)
            indices[i] = static_cast<uint8_t>(NearestOther(colours, transparent, &rgba[i * 4]));
    }

    int mapSize = 2;
    while (mapSize < static_cast<int>(colours.size()))
        mapSize *= 2;
    colours.resize(mapSize, GifColorType{0, 0, 0});
    liq_result_destroy(result);
    liq_image_destroy(liqImage);
    liq_attr_destroy(attr);

    int gifError = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &gifError);
    if (!gif) {
        *error = std::string("cannot create ") + path + ": " + GifErrorString(gifError);
        return false;
    }
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(mapSize, colours.data());
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
    if (ok && anyTransparent) {
        GraphicsControlBlock gcb = {};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.DelayTime = 0;
        gcb.TransparentColor = transparent;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&gcb, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
             GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < h; ++y)
        ok = EGifPutLine(gif, &indices[static_cast<size_t>(y) * w], w) == GIF_OK;
    if (!ok)
        *error = std::string("cannot write ") + path + ": " + GifErrorString(gif->Error);
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &gifError) != GIF_OK && ok) {
        *error = std::string("cannot finish ") + path + ": " + GifErrorString(gifError);
        ok = false;
    }
    return ok;
}
