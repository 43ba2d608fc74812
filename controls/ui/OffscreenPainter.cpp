#include "controls/ui/OffscreenPainter.h"

#include "platform/wx/WxRasterCopy.h"

#include <wx/dcclient.h>
#include <wx/window.h>

OffscreenPainter::OffscreenPainter() {
    buffer_.CreateCompatibleDC(nullptr);
}

void OffscreenPainter::Paint(wxWindow& window, const Draw& draw) {
    wxPaintDC dc(&window);
    const wxSize size = window.GetClientSize();
    if (size.x <= 0 || size.y <= 0)
        return;
    if (pixels_.Width() != size.x || pixels_.Height() != size.y) {
        pixels_.DeleteObject();
        if (!pixels_.CreateBitmap32(size.x, size.y))
            return;
        buffer_.SelectObject(&pixels_);
    }
    draw(buffer_, CSize(size.x, size.y));
    buffer_.Flush();
    WxCopyRaster(dc, *pixels_.Surface(), CRect(0, 0, size.x, size.y), 0, 0);
}
