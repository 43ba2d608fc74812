#include "view/ImageMask.h"

#include "document/CGridloomDoc.h"
#include "image/core/CRaster.h"
#include "maze/MazeCell.h"

#include <algorithm>
#include <cmath>

ImageMask::ImageMask(const CRaster& picture, const MazeExtent& extent)
    : picture_(picture), extent_(extent), width_(static_cast<int>(picture.GetWidth())),
      height_(static_cast<int>(picture.GetHeight())) {}

int ImageMask::Sample(int size, double value, double low, double high) {
    if (size <= 0)
        return 0;
    // All centres on one line have no scale: they take the middle of the picture.
    if (!(high > low))
        return size / 2;
    const double at = std::trunc(size * (value - low) / (high - low) - 0.5);
    return static_cast<int>(std::clamp(at, 0.0, static_cast<double>(size - 1)));
}

int ImageMask::PixelX(double centreX) const {
    return Sample(width_, centreX, extent_.centreMinX, extent_.centreMaxX);
}

int ImageMask::PixelY(double centreY) const {
    return Sample(height_, centreY, extent_.centreMinY, extent_.centreMaxY);
}

int ImageMask::FlagsAt(int x, int y) const {
    // The picture's rows are stored bottom-up.
    const RGBQUAD c = picture_.GetPixelColor(x, height_ - 1 - y, false);
    const int sum = c.rgbRed + c.rgbGreen + c.rgbBlue;
    if (sum <= kDarkAtMost)
        return CELL_BLACKENED;
    if (sum >= kLightAtLeast)
        return CELL_ERASED;
    return 0;
}

int ImageMask::Apply(const PolygonCellGeometry& geometry, CGridloomDoc& doc) const {
    int endsLost = 0;
    if (width_ <= 0 || height_ <= 0)
        return endsLost;
    const int grids = std::min(doc.GridCount(), geometry.Grids());
    const Object* first = doc.GetGrid(0);
    for (int column = 0; column < first->Width(); ++column) {
        for (int row = 0; row < first->Height(); ++row) {
            for (int grid = 0; grid < grids; ++grid) {
                Object* g = doc.GetGrid(grid);
                if (!g->InBounds(column, row))
                    continue;
                double cx = 0, cy = 0;
                geometry.Centre(column, row, grid, cx, cy);
                const int flags = FlagsAt(PixelX(cx), PixelY(-cy));
                if (flags == 0)
                    continue;
                endsLost |= g->GetCell(column, row).flags & (CELL_START | CELL_STOP);
                doc.SetCellFlags(column, row, grid, flags);
            }
        }
    }
    return endsLost;
}
