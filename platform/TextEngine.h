#pragma once
#include "platform/TextLayout.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

// A font as the device sees it: sizes in device pixels.
struct DeviceFont {
    std::string family;   // already mapped to an installed face
    double emPixels = 16; // character height
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct DeviceFontMetrics {
    double ascent = 0;
    double descent = 0;
    double averageWidth = 0;
    double maxWidth = 0;
};

// Measures and lays out text with Pango, in device pixels, independent of any surface so that
// raster and vector back ends place text alike (hinting off, metrics unrounded).
class TextEngine {
public:
    enum class Wrap { None, Words, WordsAndCharacters };
    enum class Align { Left, Center, Right };

    TextEngine();
    ~TextEngine();
    TextEngine(const TextEngine&) = delete;
    TextEngine& operator=(const TextEngine&) = delete;

    // The text with every invalid UTF-8 sequence replaced, as the layouts show it.
    static std::string MakeValid(const std::string& utf8);
    // The installed face that stands in for a face name the program asks for.
    static std::string MapFace(const std::string& face);
    // Character height for a requested cell height (ascent plus descent).
    double EmForCellHeight(const std::string& family, double cellHeight);
    DeviceFontMetrics Metrics(const DeviceFont& font);
    // wrapWidth <= 0 lays out without wrapping.
    std::unique_ptr<TextLayout> Layout(const std::string& utf8, const DeviceFont& font,
                                       double wrapWidth = 0, Wrap wrap = Wrap::None,
                                       Align align = Align::Left);
    // Byte offsets at which the lines of `utf8` start when a text box on the screen wraps it
    // at `wrapWidth`: glyphs advance by whole pixels there, as the toolkit's edit control
    // places them.
    std::vector<std::size_t> ScreenLineStarts(const std::string& utf8, const DeviceFont& font,
                                              double wrapWidth, Wrap wrap);

private:
    PangoLayout* NewLayout(PangoContext* context, const std::string& utf8, const DeviceFont& font,
                           double wrapWidth, Wrap wrap) const;

    PangoContext* context_;
    PangoContext* wholePixels_;
    std::map<std::string, double> cellRatio_;
};
