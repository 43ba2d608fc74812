#include "platform/TextEngine.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>

namespace {

struct FaceAlias {
    const char* asked;
    const char* installed;
};

// Metric-compatible stand-ins for the faces the program names.
constexpr FaceAlias kAliases[] = {
    {"courier", "Liberation Mono"},       {"courier new", "Liberation Mono"},
    {"arial", "Liberation Sans"},         {"helvetica", "Liberation Sans"},
    {"ms sans serif", "Liberation Sans"}, {"ms shell dlg", "Liberation Sans"},
    {"system", "Liberation Sans"},        {"times new roman", "Liberation Serif"},
    {"times", "Liberation Serif"},        {"", "Liberation Sans"},
};

PangoFontDescription* Describe(const DeviceFont& font) {
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, font.family.c_str());
    pango_font_description_set_absolute_size(d, std::max(font.emPixels, 0.1) * PANGO_SCALE);
    const int weight = font.weight <= 0 ? 400 : std::clamp(font.weight, 100, 1000);
    pango_font_description_set_weight(d, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(d, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return d;
}

} // namespace

namespace {

PangoContext* NewContext(bool wholePixels) {
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, wholePixels);
    return context;
}

} // namespace

TextEngine::TextEngine() : context_(NewContext(false)), wholePixels_(NewContext(true)) {}

TextEngine::~TextEngine() {
    g_object_unref(wholePixels_);
    g_object_unref(context_);
}

std::string TextEngine::MakeValid(const std::string& utf8) {
    gchar* valid = g_utf8_make_valid(utf8.c_str(), static_cast<gssize>(utf8.size()));
    std::string out(valid);
    g_free(valid);
    return out;
}

std::string TextEngine::MapFace(const std::string& face) {
    std::string key;
    for (char c : face)
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!key.empty() && key.back() == ' ')
        key.pop_back();
    for (const FaceAlias& a : kAliases) {
        if (key == a.asked)
            return a.installed;
    }
    return face;
}

DeviceFontMetrics TextEngine::Metrics(const DeviceFont& font) {
    PangoFontDescription* d = Describe(font);
    PangoFontMetrics* m = pango_context_get_metrics(context_, d, nullptr);
    DeviceFontMetrics out;
    out.ascent = static_cast<double>(pango_font_metrics_get_ascent(m)) / PANGO_SCALE;
    out.descent = static_cast<double>(pango_font_metrics_get_descent(m)) / PANGO_SCALE;
    out.averageWidth =
        static_cast<double>(pango_font_metrics_get_approximate_char_width(m)) / PANGO_SCALE;
    out.maxWidth = std::max(out.averageWidth,
                            static_cast<double>(pango_font_metrics_get_approximate_digit_width(m)) /
                                PANGO_SCALE);
    pango_font_metrics_unref(m);
    pango_font_description_free(d);
    // The widest ordinary glyph bounds the rest closely enough for layout decisions.
    auto w = Layout("W", font);
    out.maxWidth = std::max(out.maxWidth, w->Extent().width);
    return out;
}

double TextEngine::EmForCellHeight(const std::string& family, double cellHeight) {
    auto it = cellRatio_.find(family);
    if (it == cellRatio_.end()) {
        DeviceFont probe;
        probe.family = family;
        probe.emPixels = 1000;
        const DeviceFontMetrics m = Metrics(probe);
        const double ratio = (m.ascent + m.descent) / 1000.0;
        it = cellRatio_.emplace(family, ratio > 0.1 ? ratio : 1.0).first;
    }
    return cellHeight / it->second;
}

PangoLayout* TextEngine::NewLayout(PangoContext* context, const std::string& utf8,
                                   const DeviceFont& font, double wrapWidth, Wrap wrap) const {
    PangoLayout* layout = pango_layout_new(context);
    gchar* valid = g_utf8_make_valid(utf8.c_str(), static_cast<gssize>(utf8.size()));
    pango_layout_set_text(layout, valid, -1);
    g_free(valid);
    PangoFontDescription* d = Describe(font);
    pango_layout_set_font_description(layout, d);
    pango_font_description_free(d);
    if (wrapWidth > 0 && wrap != Wrap::None) {
        // Pango measures in 1/1024 pixel in an int.
        const double limit = 1e6;
        pango_layout_set_width(layout, static_cast<int>(std::min(wrapWidth, limit) * PANGO_SCALE));
        pango_layout_set_wrap(layout, wrap == Wrap::Words ? PANGO_WRAP_WORD : PANGO_WRAP_WORD_CHAR);
    }
    return layout;
}

std::unique_ptr<TextLayout> TextEngine::Layout(const std::string& utf8, const DeviceFont& font,
                                               double wrapWidth, Wrap wrap, Align align) {
    PangoLayout* layout = NewLayout(context_, utf8, font, wrapWidth, wrap);
    if (font.underline || font.strikeOut) {
        PangoAttrList* attrs = pango_attr_list_new();
        if (font.underline)
            pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (font.strikeOut)
            pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    pango_layout_set_alignment(layout, align == Align::Center  ? PANGO_ALIGN_CENTER
                                       : align == Align::Right ? PANGO_ALIGN_RIGHT
                                                               : PANGO_ALIGN_LEFT);
    return std::make_unique<TextLayout>(layout);
}

std::vector<std::size_t> TextEngine::ScreenLineStarts(const std::string& utf8,
                                                      const DeviceFont& font, double wrapWidth,
                                                      Wrap wrap) {
    PangoLayout* layout = NewLayout(wholePixels_, utf8, font, wrapWidth, wrap);
    std::vector<std::size_t> starts;
    for (GSList* line = pango_layout_get_lines_readonly(layout); line; line = line->next)
        starts.push_back(
            static_cast<std::size_t>(static_cast<const PangoLayoutLine*>(line->data)->start_index));
    g_object_unref(layout);
    return starts;
}
