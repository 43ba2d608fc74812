// Builds a small picture from the input, turns it by a transform and then samples and draws
// it with arbitrary positions, sizes, clips and modes: every path must stay inside both the
// picture and the target's pixels.
//
// Input: width, height, depth, option bits, then a stream of operations with their argument
// bytes (missing bytes read as zero). Pictures are at most 24 x 24, targets 32 x 32.
#include "image/core/CRaster.h"
#include "platform/CDC.h"

#include <cstdint>
#include <cstring>

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool More() const { return pos_ < size_; }
    BYTE Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    LONG Signed() { return static_cast<LONG>(static_cast<std::int8_t>(Next())); }
    LONG Wide() {
        const LONG v = Signed();
        return (Next() & 1) ? v * 10000000 : v;
    }
    float Real() {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits = (bits << 8) | Next();
        float f;
        std::memcpy(&f, &bits, sizeof f); // also NaN, infinities and huge values
        return (bits >> 31) ? f : static_cast<float>(static_cast<std::int16_t>(bits)) / 64.0f;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void BuildPicture(CRaster& img, Bytes& in) {
    const DWORD width = in.Next() % 24 + 1;
    const DWORD height = in.Next() % 24 + 1;
    const DWORD bpp = in.Next() % 25;
    const BYTE options = in.Next();
    if (!img.Create(width, height, bpp))
        return;
    if (img.IsIndexed())
        img.SetStdPalette();
    for (DWORD y = 0; y < height; ++y)
        for (DWORD x = 0; x < width; ++x)
            img.SetPixelColor(LONG(x), LONG(y), RGBQUAD::FromRgb(in.Next(), in.Next(), in.Next()));
    if (options & 1) {
        img.CreateAlpha();
        img.SetAlpha(in.Signed(), in.Signed(), in.Next());
    }
    if (options & 2)
        img.SetTransparentIndex(in.Next());
    if (options & 4)
        img.SetAlphaMax(in.Next());
    if (options & 8) {
        img.EnablePaletteAlpha(true);
        img.SetPaletteColor(in.Next(), in.Next(), in.Next(), in.Next(), in.Next());
    }
    if (options & 16) {
        img.CreateSelection();
        img.SetSelectionByte(in.Signed(), in.Signed(), 1);
    }
}

void Step(CRaster& img, CDC& dc, Bytes& in) {
    const BYTE op = in.Next();
    CRaster other;
    switch (op % 10) {
    case 0:
        img.Crop(in.Signed(), in.Signed(), in.Signed(), in.Signed(), (op & 16) ? &other : nullptr);
        break;
    case 1:
        img.Flip(op & 16, op & 32);
        img.Mirror(op & 64, op & 128);
        break;
    case 2:
        (op & 16) ? img.RotateLeft() : img.RotateRight(&other);
        break;
    case 3:
        img.InvertColors();
        break;
    case 4:
        (void)img.GetPixelColorInterpolated(in.Real(), in.Real(), in.Next() % 20, in.Next() % 8);
        break;
    case 5:
        (void)img.GetAreaColorInterpolated(in.Real(), in.Real(), in.Real(), in.Real(),
                                           in.Next() % 20, in.Next() % 8);
        break;
    case 6: {
        const RECT clip{in.Signed(), in.Signed(), in.Signed(), in.Signed()};
        img.Draw(dc, in.Wide(), in.Wide(), in.Wide(), in.Wide(), (op & 16) ? &clip : nullptr,
                 op & 32);
        break;
    }
    case 7:
        dc.SetMapMode(in.Next() % 9);
        img.DrawLogical(dc, in.Wide(), in.Wide(), in.Wide(), in.Wide());
        break;
    case 8:
        dc.IntersectClipRect(in.Signed(), in.Signed(), in.Signed(), in.Signed());
        break;
    default: {
        LONG x = in.Wide(), y = in.Wide();
        img.OverflowCoordinates(x, y, in.Next() % 8);
        (void)img.GetPixelColorWithOverflow(x, y, in.Next() % 8);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    CRaster img;
    BuildPicture(img, in);
    CBitmap bitmap;
    bitmap.CreateBitmap32(32, 32);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    for (int steps = 0; in.More() && steps < 64; ++steps)
        Step(img, dc, in);
    return 0;
}
