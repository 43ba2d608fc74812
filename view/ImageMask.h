#pragma once
#include "view/PolygonCellGeometry.h"

class CRaster;
class CGridloomDoc;

// Blackens and whitens the cells of polygon grids whose centres fall on dark or light pixels
// of a picture stretched over the range of cell centres.
class ImageMask {
public:
    // Colour sums (red + green + blue) at or past which a cell changes.
    static constexpr int kDarkAtMost = 69;
    static constexpr int kLightAtLeast = 703;

    ImageMask(const CRaster& picture, const MazeExtent& extent);

    // The picture column (0 = left) and row (0 = top) a cell centre samples, y counted
    // downward; always inside the picture.
    int PixelX(double centreX) const;
    int PixelY(double centreY) const;
    // The flags a cell whose centre samples that pixel gets; 0 leaves the cell as it is.
    int FlagsAt(int x, int y) const;

    // Sets the flags of every sampled cell; answers which end cells were overwritten
    // (CELL_START | CELL_STOP bits).
    int Apply(const PolygonCellGeometry& geometry, CGridloomDoc& doc) const;

private:
    static int Sample(int size, double value, double low, double high);

    const CRaster& picture_;
    MazeExtent extent_;
    int width_;
    int height_;
};
