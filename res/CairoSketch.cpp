#include "res/CairoSketch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

CairoSketch::CairoSketch(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
               cairo_surface_destroy),
      cr_(cairo_create(surface_.get()), cairo_destroy) {
    cairo_set_line_join(cr_.get(), CAIRO_LINE_JOIN_MITER);
}

void CairoSketch::Rect(double x, double y, double w, double h, Fill fill, Fill outline,
                       double pen) {
    cairo_rectangle(cr_.get(), x, y, w, h);
    Finish(fill, outline, pen);
}

void CairoSketch::Poly(std::initializer_list<Point> points, Fill fill, Fill outline, double pen) {
    Path(points);
    cairo_close_path(cr_.get());
    Finish(fill, outline, pen);
}

void CairoSketch::Line(std::initializer_list<Point> points, Colour colour, double pen) {
    Path(points);
    Finish(std::nullopt, colour, pen);
}

void CairoSketch::Circle(double cx, double cy, double r, Fill fill, Fill outline, double pen) {
    cairo_new_sub_path(cr_.get());
    cairo_arc(cr_.get(), cx, cy, r, 0, 2 * M_PI);
    Finish(fill, outline, pen);
}

void CairoSketch::Arc(double cx, double cy, double r, double from, double to, Colour colour,
                      double pen) {
    cairo_new_sub_path(cr_.get());
    cairo_arc(cr_.get(), cx, cy, r, from * M_PI / 180, to * M_PI / 180);
    Finish(std::nullopt, colour, pen);
}

void CairoSketch::Text(const char* text, double x, double baseline, double size, Colour colour) {
    cairo_select_font_face(cr_.get(), "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr_.get(), size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr_.get(), text, &ext);
    cairo_move_to(cr_.get(), x - ext.width / 2 - ext.x_bearing, baseline);
    cairo_text_path(cr_.get(), text);
    Finish(colour, std::nullopt, 1);
}

void CairoSketch::Arrow(double x, double fromY, double toY, double half, Colour colour) {
    const double dir = toY < fromY ? -1 : 1;
    const double neck = toY - dir * half * 1.4;
    Poly({{x - half / 2, fromY},
          {x + half / 2, fromY},
          {x + half / 2, neck},
          {x + half, neck},
          {x, toY},
          {x - half, neck},
          {x - half / 2, neck}},
         colour, Colour{0, 0, 0});
}

RgbaPicture CairoSketch::Take() {
    cairo_surface_flush(surface_.get());
    RgbaPicture pic;
    pic.width = cairo_image_surface_get_width(surface_.get());
    pic.height = cairo_image_surface_get_height(surface_.get());
    const int stride = cairo_image_surface_get_stride(surface_.get());
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    pic.rgba.resize(static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height) * 4);
    BYTE* out = pic.rgba.data();
    for (int y = 0; y < pic.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < pic.width; ++x) {
            const std::uint32_t p = row[x];
            const unsigned a = p >> 24;
            const auto straight = [a](unsigned c) {
                return static_cast<BYTE>(a == 0 ? 0 : std::min(255u, (c * 255 + a / 2) / a));
            };
            *out++ = straight((p >> 16) & 0xFF);
            *out++ = straight((p >> 8) & 0xFF);
            *out++ = straight(p & 0xFF);
            *out++ = static_cast<BYTE>(a);
        }
    }
    return pic;
}

void CairoSketch::Path(std::initializer_list<Point> points) {
    bool first = true;
    for (const auto& [x, y] : points) {
        if (first)
            cairo_move_to(cr_.get(), x, y);
        else
            cairo_line_to(cr_.get(), x, y);
        first = false;
    }
}

void CairoSketch::Finish(Fill fill, Fill outline, double pen) {
    cairo_t* cr = cr_.get();
    if (fill) {
        cairo_set_source_rgb(cr, fill->r / 255.0, fill->g / 255.0, fill->b / 255.0);
        if (outline)
            cairo_fill_preserve(cr);
        else
            cairo_fill(cr);
    }
    if (outline) {
        cairo_set_source_rgb(cr, outline->r / 255.0, outline->g / 255.0, outline->b / 255.0);
        cairo_set_line_width(cr, pen);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
}
