#pragma once
#include "image/core/CRaster.h"
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "view/ViewOverlay.h"

#include <optional>
#include <vector>

class CDC;

// What a stroke leaves on the view until the view's timer clears it, in client pixels: a
// small circle per point while the stroke is drawn, then the recorded points (red), the
// reduced points (blue crosses) and a 50 x 50 thumbnail near the top right corner. It is
// painted over the page at every paint; the page itself is never drawn on.
class GestureMarks : public IOverlayPart {
public:
    static constexpr int kDotRadius = 2;
    static constexpr int kThumbnailRight = 55; // left edge = client width - 55
    static constexpr int kThumbnailTop = 5;

    bool Empty() const;
    void Clear();

    // A circle at a point of the stroke being drawn; returns the client rectangle it covers.
    CRect AddDot(CPoint client);
    // The finished stroke: its points as recorded and as reduced.
    void SetStroke(std::vector<CPoint> raw, std::vector<CPoint> resampled);
    void SetThumbnail(CRaster picture, CPoint at);
    static CPoint ThumbnailPlace(int clientWidth) {
        return CPoint(clientWidth - kThumbnailRight, kThumbnailTop);
    }

    // Draws the marks onto `dc`, whose device pixels are the view's client pixels.
    void Draw(CDC& dc) const;
    void DrawOverlay(CDC& dc) override { Draw(dc); }

    const std::vector<CPoint>& Dots() const { return dots_; }
    const std::vector<CPoint>& RawPoints() const { return raw_; }
    const std::vector<CPoint>& ResampledPoints() const { return resampled_; }
    bool HasThumbnail() const { return thumbnail_.has_value(); }
    CPoint ThumbnailAt() const { return thumbnailAt_; }

private:
    std::vector<CPoint> dots_;
    std::vector<CPoint> raw_;
    std::vector<CPoint> resampled_;
    std::optional<CRaster> thumbnail_;
    CPoint thumbnailAt_;
};
