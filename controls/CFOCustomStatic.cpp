#include "controls/CFOCustomStatic.h"

#include "controls/IStaticHost.h"
#include "platform/CDC.h"

void CFOCustomStatic::OnPaint(CDC& dc) {
    PrepareDC(dc);
    CRect client = ClientRect();
    const CRect text = GetTextRect(dc, client, false);
    GetContentRect(dc, client);
    DrawFrame(dc, client, 0);
    paintRect_ = client;
    dc.IntersectClipRect(&paintRect_);
    dc.IntersectClipRect(&text);
    DrawContent(dc, text, 0);
    RestoreDC(dc);
}

CSize CFOCustomStatic::GetIdealSize() {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    PrepareDC(dc);
    const CRect probe(0, 0, 100, 100);
    const CRect c = GetContentRect(dc, probe);
    const CRect t = GetTextRect(dc, probe, true);
    const CSize size(t.Width() + (c.left - probe.left) + (probe.right - c.right),
                     t.Height() + (c.top - probe.top) + (probe.bottom - c.bottom));
    RestoreDC(dc);
    return size;
}

CSize CFOCustomStatic::GetTextExtent(CDC& dc, const std::string& text) {
    if (text.empty())
        return {0, 0};
    CRect r(0, 0, 0, 0);
    dc.DrawText(text, &r, DT_CALCRECT | DT_SINGLELINE);
    return r.Size();
}

void CFOCustomStatic::SizeToContent() {
    const CSize size = GetIdealSize();
    if (host_)
        host_->Resize(size);
    RedrawIfCreated();
}

void CFOCustomStatic::RedrawIfCreated() {
    if (host_)
        host_->Invalidate();
}

CRect CFOCustomStatic::GetTextRect(CDC& dc, const CRect& rect, bool measure) {
    if (!measure) {
        CRect out = GetContentRect(dc, rect);
        out.DeflateRect(1, 1);
        return out;
    }
    const std::string text = WindowText();
    const CSize extent = GetTextExtent(dc, text);
    CRect out(0, 0, extent.cx, extent.cy);
    if (!text.empty())
        out.InflateRect(1, 1);
    return out;
}

CRect CFOCustomStatic::GetContentRect(CDC&, const CRect& rect) {
    CRect out = rect;
    out.DeflateRect(margin_, margin_);
    return out;
}

void CFOCustomStatic::DrawTextAt(CDC& dc, int x, int y, const std::string& text) {
    if (text.empty())
        return;
    const int old = dc.SetBkMode(TRANSPARENT);
    dc.TextOut(x, y, text);
    dc.SetBkMode(old);
}

void CFOCustomStatic::PrepareDC(CDC& dc) {
    CFont* font = host_ ? host_->WindowFont() : nullptr;
    fontSelected_ = font != nullptr;
    if (font)
        oldFont_ = dc.SelectObject(font);
}

void CFOCustomStatic::DrawContent(CDC& dc, const CRect& rect, UINT) {
    const std::string text = WindowText();
    const CSize extent = GetTextExtent(dc, text);
    if (extent.cx == 0)
        return;
    // One pixel above the centre.
    DrawTextAt(dc, rect.left + (rect.Width() - extent.cx) / 2,
               rect.top + (rect.Height() - extent.cy) / 2 - 1, text);
}

void CFOCustomStatic::DrawFocus(CDC& dc, const CRect& rect) {
    dc.DrawFocusRect(&rect);
}

void CFOCustomStatic::DrawFrame(CDC& dc, CRect& rect, UINT state) {
    dc.DrawFrameControl(&rect, DFC_BUTTON, state | DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
}

void CFOCustomStatic::RestoreDC(CDC& dc) {
    if (fontSelected_ && oldFont_)
        dc.SelectObject(oldFont_);
    fontSelected_ = false;
    oldFont_ = nullptr;
}

int CFOCustomStatic::SetMargin(int margin) {
    const int old = margin_;
    margin_ = margin;
    RedrawIfCreated();
    return old;
}

std::string CFOCustomStatic::WindowText() const {
    return host_ ? host_->WindowText() : std::string();
}

CRect CFOCustomStatic::ClientRect() const {
    return host_ ? host_->ClientRect() : CRect();
}
