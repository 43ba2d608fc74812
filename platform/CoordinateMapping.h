#pragma once
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/CSize.h"

// The logical-to-device transform of a device context: mapping mode, window and viewport
// origins and extents. Points map as device = (logical - window origin) * viewport extent /
// window extent + viewport origin, rounded to nearest with halves away from zero; sizes use the
// extents' magnitudes so that they keep their sign.
class CoordinateMapping {
public:
    CoordinateMapping(int dpiX, int dpiY);

    int SetMapMode(int mode);
    int GetMapMode() const { return mode_; }
    void SetDeviceResolution(int dpiX, int dpiY);

    CPoint SetWindowOrg(CPoint org);
    CPoint SetViewportOrg(CPoint org);
    CPoint GetWindowOrg() const { return windowOrg_; }
    CPoint GetViewportOrg() const { return viewportOrg_; }
    // Extents change only in the anisotropic and isotropic modes; the fixed modes ignore them.
    CSize SetWindowExt(CSize ext);
    CSize SetViewportExt(CSize ext);
    CSize GetWindowExt() const { return windowExt_; }
    CSize GetViewportExt() const { return viewportExt_; }

    CPoint ToDevice(CPoint p) const;
    CPoint ToLogical(CPoint p) const;
    CSize SizeToDevice(CSize s) const;
    CSize SizeToLogical(CSize s) const;
    // Exact (unrounded) device position, for text placement.
    double ToDeviceX(double x) const;
    double ToDeviceY(double y) const;
    // True when logical y grows upward on the device.
    bool IsYFlipped() const;
    bool IsXFlipped() const;

private:
    void ApplyFixedExtents();

    int mode_ = 1;
    int dpiX_;
    int dpiY_;
    CPoint windowOrg_;
    CPoint viewportOrg_;
    CSize windowExt_{1, 1};
    CSize viewportExt_{1, 1};
};
