// Renders SVG documents to pixels with librsvg, and measures the ink of single elements.
#include "cSvgRasterizer.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstring>

namespace {

RsvgHandle* OpenHandle(const std::string* path, const std::string* text, std::string* error)
{
    GError* gerror = nullptr;
    RsvgHandle* handle = nullptr;
    if (path)
        handle = rsvg_handle_new_from_file(path->c_str(), &gerror);
    else
        handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(text->data()),
                                           text->size(), &gerror);
    if (!handle) {
        *error = gerror ? gerror->message : "cannot read SVG";
        if (gerror)
            g_error_free(gerror);
        return nullptr;
    }
    // Sizes in the documents are pixels; 96 dpi keeps "px" and user units equal.
    rsvg_handle_set_dpi(handle, 96.0);
    return handle;
}

bool Render(RsvgHandle* handle, cRgbaImage* image, std::string* error)
{
    gdouble w = 0, h = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h) || w < 1 || h < 1) {
        *error = "the SVG root needs width and height in pixels";
        g_object_unref(handle);
        return false;
    }
    const int width = static_cast<int>(std::lround(w));
    const int height = static_cast<int>(std::lround(h));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport = {0, 0, static_cast<double>(width), static_cast<double>(height)};
    GError* gerror = nullptr;
    const bool ok = rsvg_handle_render_document(handle, cr, &viewport, &gerror);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (!ok) {
        *error = gerror ? gerror->message : "cannot render SVG";
        if (gerror)
            g_error_free(gerror);
    } else {
        image->Resize(width, height);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint32_t argb;
                std::memcpy(&argb, data + y * stride + x * 4, 4);
                uint8_t* p = image->At(x, y);
                p[0] = (argb >> 16) & 0xff;
                p[1] = (argb >> 8) & 0xff;
                p[2] = argb & 0xff;
                p[3] = argb >> 24;
            }
        }
    }
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return ok;
}

} // namespace

bool cSvgRasterizer::RenderFile(const std::string& path, cRgbaImage* image, std::string* error)
{
    RsvgHandle* handle = OpenHandle(&path, nullptr, error);
    return handle && Render(handle, image, error);
}

bool cSvgRasterizer::RenderText(const std::string& svg, cRgbaImage* image, std::string* error)
{
    RsvgHandle* handle = OpenHandle(nullptr, &svg, error);
    return handle && Render(handle, image, error);
}

bool cSvgRasterizer::InkBoxes(const std::string& svg, const std::vector<std::string>& ids,
                              std::vector<cBox>* boxes, std::string* error)
{
    RsvgHandle* handle = OpenHandle(nullptr, &svg, error);
    if (!handle)
        return false;
    gdouble w = 0, h = 0;
    rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h);
    RsvgRectangle viewport = {0, 0, w, h};
    boxes->clear();
    bool ok = true;
    for (const std::string& id : ids) {
        RsvgRectangle ink, logical;
        GError* gerror = nullptr;
        const std::string ref = "#" + id;
        ok = rsvg_handle_get_geometry_for_layer(handle, ref.c_str(), &viewport, &ink, &logical,
                                                &gerror);
        if (!ok) {
            *error = gerror ? gerror->message : "no element " + ref;
            if (gerror)
                g_error_free(gerror);
            break;
        }
        boxes->push_back({ink.x, ink.y, ink.width, ink.height});
    }
    g_object_unref(handle);
    return ok;
}
