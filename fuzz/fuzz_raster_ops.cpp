// Runs arbitrary sequences of image operations on a few small pictures: every combination of
// depth, palette, planes, sharing and conversion must stay inside its buffers.
//
// Input: a stream of bytes, one operation code followed by its argument bytes (missing bytes
// read as zero). Pictures are at most 40 x 40 so each run stays fast.
#include "image/core/CRaster.h"
#include "image/core/CRasterMemFile.h"

#include <array>
#include <cstdint>

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool More() const { return pos_ < size_; }
    BYTE Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    LONG Coord() { return static_cast<LONG>(Next() % 48) - 4; } // also a little outside

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

RGBQUAD Colour(Bytes& in) {
    return RGBQUAD::FromRgb(in.Next(), in.Next(), in.Next(), in.Next());
}

void Step(std::array<CRaster, 3>& images, Bytes& in) {
    const BYTE op = in.Next();
    CRaster& a = images[in.Next() % 3];
    CRaster& b = images[in.Next() % 3];
    switch (op % 24) {
    case 0:
        a.Create(in.Next() % 40, in.Next() % 40, in.Next() % 33);
        break;
    case 1:
        a.SetPixelColor(in.Coord(), in.Coord(), Colour(in), in.Next() & 1);
        break;
    case 2:
        a.SetPixelIndex(in.Coord(), in.Coord(), in.Next());
        break;
    case 3:
        (void)a.GetPixelColor(in.Coord(), in.Coord(), in.Next() & 1);
        break;
    case 4:
        a.SetStdPalette();
        break;
    case 5:
        a.SetClrImportant(in.Next() * 3u);
        break;
    case 6:
        a.DecreaseBpp(in.Next() % 25, in.Next() & 1);
        break;
    case 7:
        a.IncreaseBpp(in.Next() % 25);
        break;
    case 8:
        a.CreateAlpha();
        break;
    case 9:
        a.CreateSelection();
        break;
    case 10:
        a.SetSelectionByte(in.Coord(), in.Coord(), in.Next());
        break;
    case 11:
        a = b;
        break;
    case 12:
        a.TakeOver(b, in.Next() & 1);
        break;
    case 13:
        a.ShareFrom(&b);
        break;
    case 14:
        a.CopyAlpha(b);
        break;
    case 15:
        a.SetAlphaFromImage(b);
        break;
    case 16:
        a.FlipAlpha(), a.MirrorAlpha(), a.FlipSelection(), a.MirrorSelection();
        break;
    case 17:
        a.SwapIndex(in.Next(), in.Next());
        break;
    case 18:
        a.SetTransparentIndex(static_cast<LONG>(in.Next()) - 1);
        break;
    case 19:
        a.Clear(in.Next());
        break;
    case 20:
        a.SetPaletteColor(in.Next(), Colour(in));
        break;
    case 21:
        (void)a.GetNearestIndex(Colour(in));
        break;
    case 22:
        a.CopySelection(b);
        break;
    default: {
        CRaster copy(a, in.Next() & 1, in.Next() & 1, in.Next() & 1);
        (void)copy.GetPixelColor(in.Coord(), in.Coord());
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    std::array<CRaster, 3> images;
    for (int steps = 0; in.More() && steps < 200; ++steps)
        Step(images, in);
    // The memory stream takes arbitrary seeks and writes as well.
    CRasterMemFile f(data, size);
    f.Seek(static_cast<LONG>(size % 300), 0);
    f.Write(data, 1, size % 64);
    char line[16];
    f.Seek(0, 0);
    while (f.GetS(line, sizeof line)) {
    }
    return 0;
}
