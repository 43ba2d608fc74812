#pragma once
#include "image/core/CRaster.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Pictures with a pattern that uses every palette entry and many colours, and comparisons.
namespace TestPictures {

// A picture of the given depth (1, 4, 8, 24); palette depths get a colourful, non-grey palette.
CRaster Make(DWORD width, DWORD height, int bpp, DWORD type = CRaster::kTypeBmp);
// Adds an alpha plane with a pattern that includes 0 and 255.
void AddAlpha(CRaster& image);
// The whole picture as bytes (palette, pixels, alpha), to check that encoding left it alone.
std::vector<BYTE> Snapshot(CRaster& image);

// Colours of every pixel agree (palettes may differ); alpha too when `alpha` is set.
::testing::AssertionResult SameColors(const CRaster& a, const CRaster& b, bool alpha = false);

} // namespace TestPictures
