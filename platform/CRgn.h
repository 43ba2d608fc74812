#pragma once
#include "platform/CGdiObject.h"
#include "platform/CRect.h"
#include "platform/PolygonScanner.h"

#include <vector>

// A region: a polygon (or rectangle) under a fill rule. Hit tests use its coordinates as
// given; filling and framing map them through the context's logical-to-device transform.
class CRgn : public CGdiObject {
public:
    CRgn() = default;

    Kind GetKind() const override { return Kind::Region; }
    bool CreatePolygonRgn(const POINT* points, int count, int fillMode);
    bool CreateRectRgn(int left, int top, int right, int bottom);
    bool CreateRectRgnIndirect(const RECT* rect);
    bool CreateEllipticRgn(int left, int top, int right, int bottom);

    bool PtInRegion(int x, int y) const;
    bool PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION (ERROR before creation).
    int GetRgnBox(RECT* box) const;
    int OffsetRgn(int dx, int dy);

    const std::vector<CPoint>& Points() const { return points_; }
    int FillMode() const { return fillMode_; }
    const PolygonScanner& Scanner() const { return scanner_; }

protected:
    void Reset() override;

private:
    void Rebuild();

    std::vector<CPoint> points_;
    int fillMode_ = 1;
    PolygonScanner scanner_;
};
