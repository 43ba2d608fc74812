#include "view/GestureMarks.h"

#include "gesture/GestureThumbnail.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"

bool GestureMarks::Empty() const {
    return dots_.empty() && raw_.empty() && resampled_.empty() && !thumbnail_;
}

void GestureMarks::Clear() {
    dots_.clear();
    raw_.clear();
    resampled_.clear();
    thumbnail_.reset();
}

CRect GestureMarks::AddDot(CPoint client) {
    dots_.push_back(client);
    // The ellipse's right and bottom edges are exclusive; one pixel more for the pen.
    return CRect(client.x - kDotRadius - 1, client.y - kDotRadius - 1, client.x + kDotRadius + 2,
                 client.y + kDotRadius + 2);
}

void GestureMarks::SetStroke(std::vector<CPoint> raw, std::vector<CPoint> resampled) {
    raw_ = std::move(raw);
    resampled_ = std::move(resampled);
}

void GestureMarks::SetThumbnail(CRaster picture, CPoint at) {
    thumbnail_ = std::move(picture);
    thumbnailAt_ = at;
}

void GestureMarks::Draw(CDC& dc) const {
    // The context's own pen and brush: a black outline around white.
    CGdiObject* oldPen = dc.SelectStockObject(BLACK_PEN);
    CGdiObject* oldBrush = dc.SelectStockObject(WHITE_BRUSH);
    for (const CPoint& p : dots_)
        dc.Ellipse(p.x - kDotRadius, p.y - kDotRadius, p.x + kDotRadius, p.y + kDotRadius);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
    GestureThumbnail::DrawStrokePoints(dc, raw_, resampled_);
    if (thumbnail_)
        thumbnail_->Draw(dc, thumbnailAt_.x, thumbnailAt_.y);
}
