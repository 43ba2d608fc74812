#pragma once
#include <vector>

typedef struct _PangoLayout PangoLayout;

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

private:
    PangoLayout* layout_;
};
