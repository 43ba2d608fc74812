#include "controls/CFOImageStatic.h"

#include "platform/CDC.h"

#include <algorithm>

namespace {

// Vertical place of something `height` high in `rect` by the alignment bits: centred (one
// pixel high, never above the top), at the bottom, or at the top.
LONG PlaceY(const CRect& rect, int bits, LONG height) {
    if (bits & CFOImageStatic::kMiddle)
        return std::max(rect.top, rect.top + (rect.Height() - height) / 2 - 1);
    if (bits & CFOImageStatic::kBottom)
        return rect.bottom - height - 1;
    return rect.top;
}

} // namespace

int CFOImageStatic::AddBitmap(const PixelPicture* picture, int imageWidth, COLORREF mask) {
    const int index = images_.Add(picture, imageWidth, mask);
    if (index >= 0)
        Refresh();
    return index;
}

bool CFOImageStatic::RemoveImage(int index) {
    if (!images_.Remove(index))
        return false;
    Refresh();
    return true;
}

void CFOImageStatic::SetImageSpacing(int pixels) {
    spacing_ = pixels;
    Refresh();
}

void CFOImageStatic::SetTextGap(int pixels) {
    gap_ = pixels;
    Refresh();
}

void CFOImageStatic::SetImageAlignment(int bits) {
    imageAlign_ = bits;
    Refresh();
}

void CFOImageStatic::SetTextAlignment(int bits) {
    textAlign_ = bits;
    Refresh();
}

void CFOImageStatic::Refresh() {
    if (host_)
        SizeToContent();
}

CSize CFOImageStatic::BlockSize() const {
    const int n = images_.GetImageCount();
    CSize block(spacing_ * (std::max(n, 1) - 1), 0);
    for (int i = 0; i < n; ++i) {
        const CSize s = images_.GetImageSize(i);
        block.cx += s.cx;
        block.cy = std::max(block.cy, s.cy);
    }
    return block;
}

void CFOImageStatic::Layout(CDC& dc, const CRect& rect, CRect& image, CRect& text) {
    if ((imageAlign_ & kCentre) && HasImages() && !WindowText().empty())
        Stacked(dc, rect, image, text);
    else
        SideBySide(dc, rect, image, text);
}

void CFOImageStatic::SideBySide(CDC& dc, const CRect& rect, CRect& image, CRect& text) {
    image = rect;
    text = rect;
    if (HasImages()) {
        const CSize block = BlockSize();
        LONG x = rect.left;
        if (imageAlign_ & kCentre) {
            x = rect.left + (rect.Width() - block.cx) / 2;
        } else if (imageAlign_ & kRight) {
            x = rect.right - block.cx - 1;
            text.right = x - gap_;
        } else {
            text.left = x + block.cx + gap_;
        }
        const LONG y = PlaceY(rect, imageAlign_, block.cy);
        image = CRect(x, y, x + block.cx, y + block.cy);
    } else {
        image.SetRectEmpty();
    }
    const std::string words = WindowText();
    if (words.empty()) {
        text.SetRectEmpty();
        return;
    }
    const CSize extent = GetTextExtent(dc, words);
    LONG x = text.left;
    if (textAlign_ & kCentre)
        x = std::max(text.left, text.left + (text.Width() - extent.cx) / 2);
    else if (textAlign_ & kRight)
        x = text.right - extent.cx - 1;
    const LONG y = PlaceY(text, textAlign_, extent.cy);
    text = CRect(x, y, x + extent.cx, y + extent.cy);
}

void CFOImageStatic::Stacked(CDC& dc, const CRect& rect, CRect& image, CRect& text) {
    const CSize block = BlockSize();
    const CSize extent = GetTextExtent(dc, WindowText());
    const CSize box(std::max(block.cx, extent.cx), extent.cy + block.cy + gap_);
    const LONG left = rect.left + (rect.Width() - box.cx) / 2;
    const LONG top = PlaceY(rect, imageAlign_, box.cy);
    const LONG imageLeft = left + (box.cx - block.cx) / 2;
    image = CRect(imageLeft, top, imageLeft + block.cx, top + block.cy);
    const LONG textLeft = left + (box.cx - extent.cx) / 2;
    const LONG bottom = top + box.cy;
    text = CRect(textLeft, bottom - extent.cy, textLeft + extent.cx, bottom);
}

CRect CFOImageStatic::GetTextRect(CDC& dc, const CRect& rect, bool measure) {
    CRect base = CFOCustomStatic::GetTextRect(dc, rect, measure);
    if (!measure)
        return base;
    CRect image, text, both;
    Layout(dc, rect, image, text);
    both.UnionRect(image, text);
    if (!both.IsRectEmpty())
        both.InflateRect(1, 1);
    return both;
}

void CFOImageStatic::DrawContent(CDC& dc, const CRect& rect, UINT state) {
    CRect image, text;
    Layout(dc, rect, image, text);
    if (!text.IsRectEmpty())
        DrawTextAt(dc, text.left, text.top, WindowText());
    const COLORREF background = (state & 0x20) ? RGB(255, 255, 255) : CLR_INVALID;
    CPoint at = image.TopLeft();
    for (int i = 0; i < images_.GetImageCount(); ++i) {
        if (!images_.Draw(dc, i, at, background))
            break;
        at.x += images_.GetImageSize(i).cx + spacing_;
    }
}
