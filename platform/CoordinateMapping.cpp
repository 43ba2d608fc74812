#include "platform/CoordinateMapping.h"

#include "platform/GdiConstants.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

CoordinateMapping::CoordinateMapping(int dpiX, int dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}

void CoordinateMapping::SetDeviceResolution(int dpiX, int dpiY) {
    dpiX_ = dpiX > 0 ? dpiX : 96;
    dpiY_ = dpiY > 0 ? dpiY : 96;
    ApplyFixedExtents();
}

int CoordinateMapping::SetMapMode(int mode) {
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    const int old = mode_;
    mode_ = mode;
    ApplyFixedExtents();
    return old;
}

void CoordinateMapping::ApplyFixedExtents() {
    // Units per inch of each fixed mode; y grows upward in all of them.
    int perInch = 0;
    switch (mode_) {
    case MM_TEXT:
        windowExt_ = {1, 1};
        viewportExt_ = {1, 1};
        return;
    case MM_LOMETRIC:
        perInch = 254;
        break;
    case MM_HIMETRIC:
        perInch = 2540;
        break;
    case MM_LOENGLISH:
        perInch = 100;
        break;
    case MM_HIENGLISH:
        perInch = 1000;
        break;
    case MM_TWIPS:
        perInch = 1440;
        break;
    default:
        return; // the free modes keep their extents
    }
    windowExt_ = {perInch, perInch};
    viewportExt_ = {dpiX_, -dpiY_};
}

CPoint CoordinateMapping::SetWindowOrg(CPoint org) {
    const CPoint old = windowOrg_;
    windowOrg_ = org;
    return old;
}

CPoint CoordinateMapping::SetViewportOrg(CPoint org) {
    const CPoint old = viewportOrg_;
    viewportOrg_ = org;
    return old;
}

CSize CoordinateMapping::SetWindowExt(CSize ext) {
    const CSize old = windowExt_;
    if ((mode_ == MM_ANISOTROPIC || mode_ == MM_ISOTROPIC) && ext.cx != 0 && ext.cy != 0)
        windowExt_ = ext;
    return old;
}

CSize CoordinateMapping::SetViewportExt(CSize ext) {
    const CSize old = viewportExt_;
    if ((mode_ == MM_ANISOTROPIC || mode_ == MM_ISOTROPIC) && ext.cx != 0 && ext.cy != 0)
        viewportExt_ = ext;
    return old;
}

CPoint CoordinateMapping::ToLogical(CPoint p) const {
    return {
        Shifted(Scale(static_cast<long long>(p.x) - viewportOrg_.x, windowExt_.cx, viewportExt_.cx),
                windowOrg_.x),
        Shifted(Scale(static_cast<long long>(p.y) - viewportOrg_.y, windowExt_.cy, viewportExt_.cy),
                windowOrg_.y)};
}

CSize CoordinateMapping::SizeToDevice(CSize s) const {
    return {Scale(s.cx, std::abs(viewportExt_.cx), std::abs(windowExt_.cx)),
            Scale(s.cy, std::abs(viewportExt_.cy), std::abs(windowExt_.cy))};
}

CSize CoordinateMapping::SizeToLogical(CSize s) const {
    return {Scale(s.cx, std::abs(windowExt_.cx), std::abs(viewportExt_.cx)),
            Scale(s.cy, std::abs(windowExt_.cy), std::abs(viewportExt_.cy))};
}

double CoordinateMapping::ToDeviceX(double x) const {
    return (x - windowOrg_.x) * viewportExt_.cx / windowExt_.cx + viewportOrg_.x;
}

double CoordinateMapping::ToDeviceY(double y) const {
    return (y - windowOrg_.y) * viewportExt_.cy / windowExt_.cy + viewportOrg_.y;
}

bool CoordinateMapping::IsXFlipped() const {
    return (static_cast<long long>(viewportExt_.cx) * windowExt_.cx) < 0;
}
