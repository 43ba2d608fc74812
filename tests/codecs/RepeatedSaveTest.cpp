// A layer picture is written and read again at every save and load of its document: after the
// first trip through a writer, further trips must give back exactly the same pixels and alpha.
#include "TestPictures.h"

#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What a viewer shows of a pixel: its colour, and 0 where it is transparent by whatever means
// the picture uses (alpha plane, transparent index or colour, palette alpha).
// Without `alpha`, only the colours count.
::testing::AssertionResult SameShown(const CRaster& a, const CRaster& b, bool alpha = true) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return ::testing::AssertionFailure() << "size differs";
    auto shown = [](const CRaster& image, LONG x, LONG y) {
        RGBQUAD c = image.GetPixelColor(x, y, false);
        BYTE alpha = image.IsAlphaValid() ? image.GetAlpha(x, y) : 255;
        if (image.IsIndexed()) {
            const BYTE index = image.GetPixelIndex(x, y);
            if (image.IsTransparent() && index == image.GetTransparentIndex())
                alpha = 0;
            if (image.Info().paletteAlpha && image.HasPaletteAlpha())
                alpha = static_cast<BYTE>(alpha * image.GetPaletteColor(index).rgbReserved / 255);
        } else if (image.IsTransparent()) {
            const RGBQUAD key = image.GetTransparentColor();
            if (c.rgbRed == key.rgbRed && c.rgbGreen == key.rgbGreen && c.rgbBlue == key.rgbBlue)
                alpha = 0;
        }
        c.rgbReserved = alpha;
        // Hidden pixels show nothing, whatever colour they hold.
        return alpha == 0 ? RGBQUAD{} : c;
    };
    for (LONG y = 0; y < LONG(a.GetHeight()); ++y)
        for (LONG x = 0; x < LONG(a.GetWidth()); ++x) {
            const RGBQUAD p = alpha ? shown(a, x, y) : a.GetPixelColor(x, y, false);
            const RGBQUAD q = alpha ? shown(b, x, y) : b.GetPixelColor(x, y, false);
            if (!(p == q))
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << ": " << int(p.rgbRed) << ","
                       << int(p.rgbGreen) << "," << int(p.rgbBlue) << " a" << int(p.rgbReserved)
                       << " vs " << int(q.rgbRed) << "," << int(q.rgbGreen) << "," << int(q.rgbBlue)
                       << " a" << int(q.rgbReserved);
        }
    return ::testing::AssertionSuccess();
}

struct Case {
    std::string name;
    CRaster picture;
};

std::vector<Case> Pictures() {
    std::vector<Case> cases;
    for (const int bpp : {1, 4, 8, 24})
        cases.push_back({"plain " + std::to_string(bpp), TestPictures::Make(13, 7, bpp)});
    for (const int bpp : {1, 4, 8}) {
        CRaster keyed = TestPictures::Make(13, 7, bpp);
        keyed.SetTransparentIndex(1);
        cases.push_back({"transparent index " + std::to_string(bpp), keyed});
        // As a document holds a picture after a load that marked it "has alpha": a full
        // alpha plane and palette alpha switched on over a palette without alpha bytes.
        CRaster marked = TestPictures::Make(13, 7, bpp);
        marked.CreateAlpha();
        marked.EnablePaletteAlpha(true);
        cases.push_back({"marked " + std::to_string(bpp), marked});
    }
    CRaster alpha = TestPictures::Make(13, 7, 24);
    TestPictures::AddAlpha(alpha);
    cases.push_back({"alpha 24", alpha});
    CRaster raised = TestPictures::Make(13, 7, 8);
    raised.SetPaletteColor(2, 250, 240, 230);
    raised.SetPaletteColor(1, 250, 240, 230);
    raised.SetTransparentIndex(1);
    raised.IncreaseBpp(24);
    cases.push_back({"raised", raised});
    return cases;
}

// Writers that keep every colour of the picture, and those that keep its transparency too.
bool KeepsColours(DWORD type, const CRaster& picture) {
    return type != CRaster::kTypeWbmp && !(type == CRaster::kTypePcx && picture.GetBpp() == 1);
}

bool KeepsTransparency(DWORD type, const CRaster& picture) {
    return type == CRaster::kTypePng || type == CRaster::kTypeIco ||
           (type == CRaster::kTypeGif && picture.IsIndexed());
}

bool Writes(DWORD type, const CRaster& picture) {
    switch (type) {
    case CRaster::kTypeTga:
        return picture.GetBpp() == 8 || picture.GetBpp() == 24;
    case CRaster::kTypeWbmp:
        return picture.GetBpp() == 1;
    default:
        return true;
    }
}

TEST(RepeatedSave, TenTripsThroughEveryWriterChangeNothing) {
    const DWORD writers[] = {CRaster::kTypeBmp, CRaster::kTypeGif, CRaster::kTypeIco,
                             CRaster::kTypePcx, CRaster::kTypePng, CRaster::kTypeTga,
                             CRaster::kTypeWbmp};
    for (Case& c : Pictures()) {
        for (const DWORD type : writers) {
            if (!Writes(type, c.picture))
                continue;
            SCOPED_TRACE(c.name + " as type " + std::to_string(type));
            CRaster current(c.picture);
            CRaster first;
            for (int trip = 0; trip < 10; ++trip) {
                std::vector<BYTE> bytes;
                ASSERT_TRUE(current.EncodeToMemory(bytes, type)) << current.GetLastError();
                CRaster back;
                ASSERT_TRUE(back.DecodeFromMemory(bytes, type)) << back.GetLastError();
                if (trip == 0) {
                    first = back;
                    if (KeepsColours(type, c.picture)) {
                        ASSERT_TRUE(SameShown(c.picture, back, KeepsTransparency(type, c.picture)));
                    }
                } else {
                    ASSERT_TRUE(SameShown(first, back)) << "trip " << trip;
                }
                current = back;
            }
        }
    }
}

} // namespace
