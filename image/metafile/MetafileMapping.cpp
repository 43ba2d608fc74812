#include "image/metafile/MetafileMapping.h"

#include "platform/GdiConstants.h"

#include <cmath>

void MetafileMapping::SetPixelsPerMm(double x, double y) {
    if (x > 0 && y > 0 && std::isfinite(x) && std::isfinite(y)) {
        pxPerMmX_ = x;
        pxPerMmY_ = y;
    }
}

bool MetafileMapping::SetMapMode(int mode) {
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return false;
    mode_ = mode;
    return true;
}

bool MetafileMapping::Scalable() const {
    return mode_ == MM_ISOTROPIC || mode_ == MM_ANISOTROPIC;
}

void MetafileMapping::SetWindowOrg(double x, double y) {
    windowOrgX_ = x;
    windowOrgY_ = y;
}

void MetafileMapping::SetViewportOrg(double x, double y) {
    viewOrgX_ = x;
    viewOrgY_ = y;
}

// Extents matter only in the scalable modes and are never zero.
void MetafileMapping::SetWindowExt(double cx, double cy) {
    if (Scalable() && cx != 0 && cy != 0) {
        windowExtX_ = cx;
        windowExtY_ = cy;
    }
}

void MetafileMapping::SetViewportExt(double cx, double cy) {
    if (Scalable() && cx != 0 && cy != 0) {
        viewExtX_ = cx;
        viewExtY_ = cy;
    }
}

void MetafileMapping::OffsetWindowOrg(double dx, double dy) {
    SetWindowOrg(windowOrgX_ + dx, windowOrgY_ + dy);
}

void MetafileMapping::OffsetViewportOrg(double dx, double dy) {
    SetViewportOrg(viewOrgX_ + dx, viewOrgY_ + dy);
}

void MetafileMapping::ScaleWindowExt(double xNum, double xDen, double yNum, double yDen) {
    if (xDen != 0 && yDen != 0)
        SetWindowExt(windowExtX_ * xNum / xDen, windowExtY_ * yNum / yDen);
}

void MetafileMapping::ScaleViewportExt(double xNum, double xDen, double yNum, double yDen) {
    if (xDen != 0 && yDen != 0)
        SetViewportExt(viewExtX_ * xNum / xDen, viewExtY_ * yNum / yDen);
}

MetafileMatrix MetafileMapping::Matrix() const {
    double sx = 1, sy = 1;
    switch (mode_) {
    case MM_LOMETRIC:
        sx = 0.1 * pxPerMmX_, sy = -0.1 * pxPerMmY_;
        break;
    case MM_HIMETRIC:
        sx = 0.01 * pxPerMmX_, sy = -0.01 * pxPerMmY_;
        break;
    case MM_LOENGLISH:
        sx = 0.254 * pxPerMmX_, sy = -0.254 * pxPerMmY_;
        break;
    case MM_HIENGLISH:
        sx = 0.0254 * pxPerMmX_, sy = -0.0254 * pxPerMmY_;
        break;
    case MM_TWIPS:
        sx = 25.4 / 1440 * pxPerMmX_, sy = -25.4 / 1440 * pxPerMmY_;
        break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        sx = viewExtX_ / windowExtX_;
        sy = viewExtY_ / windowExtY_;
        if (mode_ == MM_ISOTROPIC) {
            // The smaller scale wins on both axes; signs stay as given.
            const double s = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    default:
        break;
    }
    return {sx, 0, 0, sy, viewOrgX_ - windowOrgX_ * sx, viewOrgY_ - windowOrgY_ * sy};
}
