#pragma once
#include "image/metafile/MetafileMatrix.h"

// The page mapping of a metafile's device context: mapping mode, window and viewport, as
// the metafile sets them, turned into a matrix from page to reference-device units. Fixed
// modes use the reference device's pixels per millimetre.
class MetafileMapping {
public:
    void SetPixelsPerMm(double x, double y);
    bool SetMapMode(int mode);
    int MapMode() const { return mode_; }
    void SetWindowOrg(double x, double y);
    void SetWindowExt(double cx, double cy);
    void SetViewportOrg(double x, double y);
    void SetViewportExt(double cx, double cy);
    void OffsetWindowOrg(double dx, double dy);
    void OffsetViewportOrg(double dx, double dy);
    // Extents times num / den (ignored with a zero denominator).
    void ScaleWindowExt(double xNum, double xDen, double yNum, double yDen);
    void ScaleViewportExt(double xNum, double xDen, double yNum, double yDen);

    MetafileMatrix Matrix() const;

private:
    bool Scalable() const;

    int mode_ = 1; // MM_TEXT
    double windowOrgX_ = 0, windowOrgY_ = 0, windowExtX_ = 1, windowExtY_ = 1;
    double viewOrgX_ = 0, viewOrgY_ = 0, viewExtX_ = 1, viewExtY_ = 1;
    double pxPerMmX_ = 96 / 25.4, pxPerMmY_ = 96 / 25.4;
};
