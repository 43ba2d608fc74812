#pragma once
#include "image/codecs/CRasterCodec.h"
#include "image/metafile/MetafileMatrix.h"

#include <cstdint>
#include <span>
#include <string>

class CBitmap;

// Placeable Windows metafiles and enhanced metafiles, played by our own player into a
// 24-bit picture on white: placeable files at their size at 96 dots per inch, enhanced ones
// at their bounds in reference-device pixels; each side at most 4000 pixels, the other side
// scaled along. Writing is not offered.
class CRasterWMF : public CRasterCodec {
public:
    CRasterWMF() : CRasterCodec(kTypeWmf) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override {
        return Decode(file, 0, 0, options);
    }
    // A non-zero forced width or height replaces the metafile's own. The picture and the
    // bitmaps inside the metafile are held to the options' budget together.
    bool Decode(CRasterFile& file, LONG forcedWidth, LONG forcedHeight,
                const DecodeOptions& options = {});
    bool Encode(CRasterFile& file) override;

    static constexpr LONG kMaxSide = 4000;
    // The size kept within kMaxSide on each side, proportions kept, never below 1.
    static void ShrinkToLimit(std::int64_t& width, std::int64_t& height);

    // What the headers say about one metafile.
    struct Layout {
        bool enhanced = false;
        std::int64_t width = 0; // natural size in pixels
        std::int64_t height = 0;
        std::span<const BYTE> records; // WMF: after the headers; EMF: the whole file
        // WMF: the placeable box and units per inch; EMF: bounds and reference device.
        LONG left = 0, top = 0, right = 0, bottom = 0;
        DWORD unitsPerInch = 0;
        double pxPerMmX = 0, pxPerMmY = 0;
        DWORD handles = 0;
    };
    // Reads the placeable form, or else the enhanced one; false when neither fits.
    static bool ReadPlaceable(std::span<const BYTE> data, Layout& layout);
    static bool ReadEnhanced(std::span<const BYTE> data, Layout& layout);

    // Pixels a play may paint: a few times the picture, so that any real file draws whole,
    // and more for every byte of records; past it the picture is kept as far as it got.
    static constexpr std::uint64_t kCanvasesOfWork = 4;
    static constexpr std::uint64_t kPixelsPerByte = 64;
    static std::uint64_t WorkBudget(std::uint64_t recordBytes, LONG width, LONG height);

private:
    bool Render(const Layout& layout, LONG width, LONG height, const DecodeOptions& options);
    // Draws into `bitmap`; when the play ended early, says why in `cutShortWhy`.
    bool Play(const Layout& layout, LONG width, LONG height, const DecodeOptions& options,
              CBitmap& bitmap, std::string& cutShortWhy);
};
