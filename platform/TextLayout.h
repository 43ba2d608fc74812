#pragma once
#include <string>
#include <vector>

typedef struct _PangoLayout PangoLayout;
typedef struct _cairo cairo_t;
struct TextPlacement;

// One laid-out block of text in device pixels, ready for a back end to draw.
class TextLayout {
public:
    struct Box {
        double x, y, width, height;
    };

    explicit TextLayout(PangoLayout* layout); // takes ownership
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    PangoLayout* Get() const { return layout_; }
    // The logical block: width of the widest line (or the wrap width when aligned within it),
    // height of all lines.
    Box Extent() const;
    double Baseline() const;
    // One box per line, for painting an opaque background behind the text.
    std::vector<Box> LineBoxes() const;
    // The text of each line with where its characters start, for back ends that record text
    // rather than paint it. Positions are in the layout's pixels; `starts` has one entry per
    // character and then the line's end.
    struct Line {
        std::string utf8;
        double baseline = 0;
        std::vector<double> starts;
    };
    std::vector<Line> Lines() const;
    // Draws the block where `where` puts it, its line boxes first when the background is opaque.
    // Clipping and saving the context's state are the caller's.
    void Show(cairo_t* cr, const TextPlacement& where) const;

private:
    PangoLayout* layout_;
};
