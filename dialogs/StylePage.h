#pragma once
#include "document/PP1.h"
#include "forms/ControlIds.h"
#include "image/core/CRaster.h"
#include "tiles/CBMPTiler.h"

#include <array>
#include <string>
#include <vector>

class TileSetCatalogue;

// What the Style page does with its values: the style radios, the tile-set list with its
// loader and 3 x 3 preview, and which controls are enabled. The window only mirrors it.
class StylePage {
public:
    struct Style {
        int radioId;
        const char* caption;
        int kind;
        int tiled;
        int pictureId; // the preview of a plain style
    };
    static constexpr int kPreviewSize = 100;
    static const std::array<Style, 8> kStyles;

    StylePage(PP1& values, TileSetCatalogue& sets) : values_(values), sets_(sets) {}

    // The list: the built-in sets, then the scanned files' names (scanning when stale).
    std::vector<std::string> ListTexts();
    // The radio that shows the values' kind and tiled flag (ControlIds::Style).
    int RadioForValues() const;
    // A plain style radio (any but "Square Tiled:"); the preview becomes its picture.
    void ChoosePlainStyle(int radioId);
    // "Square Tiled:" with list entry `index` showing `text`: loads it into the preview tiler
    // and renders the sample.
    void ChooseTiled(int index, const std::string& text);
    // "Square Tiled:" as stored: previews the set the tiler id names and leaves the values
    // alone.
    void ShowStoredSet();
    // The list entry of the set `id` names, or -1.
    int ListIndexFor(const std::string& id);

    bool ListEnabled() const { return listEnabled_; }
    bool WrapsEnabled() const { return wrapsEnabled_; }
    const CRaster& Preview() const { return preview_; }
    CBMPTiler& PreviewTiler() { return previewTiler_; }

    // Loads the values' selection into `target` (the preview tiler when null) and sets the
    // tiler id.
    bool LoadSelectedTiler(CBMPTiler* target);
    // Loads a stored id into `target`; an unknown built-in number is reported in a message
    // box, loads the default set and leaves the id as it is.
    bool LoadTiler(CBMPTiler& target, const std::string& id);

private:
    PP1& values_;
    TileSetCatalogue& sets_;
    CBMPTiler previewTiler_;
    CRaster preview_;
    bool listEnabled_ = false;
    bool wrapsEnabled_ = true;
};
