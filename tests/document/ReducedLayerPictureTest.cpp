// A layer picture that was read at a reduced scale, to fit the picture budget, is saved as
// the file it came from.
#include "document/CLogicalRectTracker.h"
#include "image/core/CRaster.h"
#include "platform/CArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A layer picture read at a reduced scale keeps the file's own bytes: the document stores
// them, and a reader with room for the whole picture gets it back in full.
TEST(ReducedLayerPicture, AReducedPictureIsStoredAsItsFile) {
    CRaster source(640, 480, 24);
    for (LONG y = 0; y < 480; ++y)
        for (LONG x = 0; x < 640; ++x)
            source.SetPixelColor(x, y, RGBQUAD{BYTE(x), BYTE(y), BYTE(x ^ y), 0});
    auto bytes = std::make_shared<std::vector<BYTE>>();
    ASSERT_TRUE(source.EncodeToMemory(*bytes, CRaster::kTypeJpg));
    auto reduced = std::make_shared<CRaster>();
    reduced->Info().decode.budget = 400000;
    ASSERT_TRUE(reduced->DecodeFromMemory(*bytes, CRaster::kTypeJpg)) << reduced->GetLastError();
    ASSERT_LT(reduced->GetWidth(), 640u);

    CLogicalRectTracker layer;
    layer.SetImage(reduced, CLogicalRectTracker::kindPicture, bytes);
    layer.SetLogicalRect(0, 0, 4000, -3000);
    CArchive out = CArchive::ForStoring();
    layer.Serialize(out);
    const std::vector<BYTE> stored = out.TakeData();
    EXPECT_NE(std::search(stored.begin(), stored.end(), bytes->begin(), bytes->end()),
              stored.end());
    CArchive in = CArchive::ForLoading(stored);
    CLogicalRectTracker back;
    back.Serialize(in);
    ASSERT_FALSE(in.Failed()) << in.Error();
    ASSERT_NE(back.GetImage(), nullptr);
    EXPECT_EQ(back.GetImage()->GetWidth(), 640u);
}

} // namespace
