#include "view/ClientPicture.h"

#include "platform/SysColor.h"
#include "view/ScreenBuffer.h"
#include "view/ViewOverlay.h"

#include <algorithm>
#include <cstring>

bool ClientPicture::Fit(CSize client) {
    if (client.cx <= 0 || client.cy <= 0)
        return false;
    if (dc_ && size_ == client)
        return true;
    dc_.reset();
    bitmap_.reset();
    size_ = CSize();
    auto bitmap = std::make_unique<CBitmap>();
    if (!bitmap->CreateBitmap32(client.cx, client.cy))
        return false;
    auto dc = std::make_unique<CDC>();
    dc->CreateCompatibleDC(nullptr);
    dc->SelectObject(bitmap.get());
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    size_ = client;
    return true;
}

RasterSurface* ClientPicture::Compose(ScreenBuffer& page, CPoint scroll, CSize client,
                                      const ViewOverlay& overlay, const CRect& area) {
    if (!Fit(client))
        return nullptr;
    CRect cut;
    if (!cut.IntersectRect(area, CRect(0, 0, client.cx, client.cy)))
        return bitmap_->Surface().get();
    CopyPage(page, scroll, cut);
    if (!overlay.Empty()) {
        const int saved = dc_->SaveDC();
        dc_->IntersectClipRect(&cut);
        overlay.Draw(*dc_);
        dc_->RestoreDC(saved);
    }
    dc_->Flush();
    return bitmap_->Surface().get();
}

void ClientPicture::CopyPage(ScreenBuffer& page, CPoint scroll, const CRect& area) {
    RasterSurface& to = *bitmap_->Surface();
    std::uint32_t* base = to.Pixels();
    const std::ptrdiff_t toStride = to.Stride() / 4;
    const std::uint32_t outside = RasterSurface::ToPixel(GetSysColor(COLOR_APPWORKSPACE));
    RasterSurface* from = page.Surface();
    // The page's pixels under the area, in client pixels.
    CRect shown;
    if (!from || !shown.IntersectRect(area, CRect(-scroll.x, -scroll.y, from->Width() - scroll.x,
                                                  from->Height() - scroll.y)))
        shown.SetRectEmpty();
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t* row = base + y * toStride;
        if (y < shown.top || y >= shown.bottom) {
            std::fill(row + area.left, row + area.right, outside);
            continue;
        }
        std::fill(row + area.left, row + shown.left, outside);
        const std::uint32_t* src = from->Row(y + scroll.y) + shown.left + scroll.x;
        std::memcpy(row + shown.left, src, sizeof(std::uint32_t) * std::size_t(shown.Width()));
        std::fill(row + shown.right, row + area.right, outside);
    }
    to.MarkDirty();
}
