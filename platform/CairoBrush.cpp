#include "platform/CairoBrush.h"

#include "platform/HatchPattern.h"

#include <cairo.h>

#include <cstdint>

void SetCairoColor(cairo_t* cr, COLORREF color) {
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
}

void SetCairoBrush(cairo_t* cr, const DeviceBrush& brush, const Background& bk) {
    if (brush.style != BS_HATCHED) {
        SetCairoColor(cr, brush.color);
        return;
    }
    cairo_surface_t* cell = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_surface_flush(cell);
    auto* data = cairo_image_surface_get_data(cell);
    const int stride = cairo_image_surface_get_stride(cell);
    auto premultiplied = [](COLORREF c) {
        return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
               (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
    };
    for (int y = 0; y < 8; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < 8; ++x) {
            if (HatchCovers(brush.hatch, x, y))
                row[x] = premultiplied(brush.color);
            else
                row[x] = bk.IsOpaque() ? premultiplied(bk.color) : 0u;
        }
    }
    cairo_surface_mark_dirty(cell);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(cell);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(cell);
}
