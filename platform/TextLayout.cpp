#include "platform/TextLayout.h"

#include "platform/CairoBrush.h"
#include "platform/IDcBackEnd.h"

#include <cairo.h>
#include <pango/pangocairo.h>

TextLayout::TextLayout(PangoLayout* layout) : layout_(layout) {}

TextLayout::~TextLayout() {
    if (layout_)
        g_object_unref(layout_);
}

TextLayout::Box TextLayout::Extent() const {
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return {static_cast<double>(logical.x) / PANGO_SCALE,
            static_cast<double>(logical.y) / PANGO_SCALE,
            static_cast<double>(logical.width) / PANGO_SCALE,
            static_cast<double>(logical.height) / PANGO_SCALE};
}

double TextLayout::Baseline() const {
    return static_cast<double>(pango_layout_get_baseline(layout_)) / PANGO_SCALE;
}

std::vector<TextLayout::Box> TextLayout::LineBoxes() const {
    std::vector<Box> boxes;
    PangoLayoutIter* it = pango_layout_get_iter(layout_);
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(it, nullptr, &logical);
        if (logical.width > 0)
            boxes.push_back({static_cast<double>(logical.x) / PANGO_SCALE,
                             static_cast<double>(logical.y) / PANGO_SCALE,
                             static_cast<double>(logical.width) / PANGO_SCALE,
                             static_cast<double>(logical.height) / PANGO_SCALE});
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    return boxes;
}

std::vector<TextLayout::Line> TextLayout::Lines() const {
    std::vector<Line> lines;
    const char* text = pango_layout_get_text(layout_);
    PangoLayoutIter* it = pango_layout_get_iter(layout_);
    do {
        const PangoLayoutLine* line = pango_layout_iter_get_line_readonly(it);
        Line out;
        out.baseline = static_cast<double>(pango_layout_iter_get_baseline(it)) / PANGO_SCALE;
        const char* begin = text + line->start_index;
        const char* end = begin + line->length;
        PangoRectangle pos{};
        for (const char* c = begin; c < end; c = g_utf8_next_char(c)) {
            pango_layout_index_to_pos(layout_, static_cast<int>(c - text), &pos);
            out.starts.push_back(static_cast<double>(pos.x) / PANGO_SCALE);
        }
        if (out.starts.empty())
            continue;
        out.starts.push_back(static_cast<double>(pos.x + pos.width) / PANGO_SCALE);
        out.utf8.assign(begin, end);
        lines.push_back(std::move(out));
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    return lines;
}

void TextLayout::Show(cairo_t* cr, const TextPlacement& where) const {
    cairo_translate(cr, where.x, where.y);
    cairo_rotate(cr, -where.angle);
    cairo_translate(cr, where.dx, where.dy);
    if (where.background.IsOpaque()) {
        SetCairoColor(cr, where.background.color);
        for (const auto& box : LineBoxes())
            cairo_rectangle(cr, box.x, box.y, box.width, box.height);
        cairo_fill(cr);
    }
    SetCairoColor(cr, where.color);
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout_);
}
