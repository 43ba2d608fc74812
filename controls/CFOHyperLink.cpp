#include "controls/CFOHyperLink.h"

#include "controls/IHyperLinkHost.h"
#include "platform/CDC.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/SysColor.h"

CFOHyperLink::CFOHyperLink(UINT style) : style_(style), hover_(GetSysColor(COLOR_HIGHLIGHT)) {}

void CFOHyperLink::Attach(IHyperLinkHost* host) {
    host_ = host;
    if (!host_)
        return;
    if (url_.empty())
        url_ = host_->WindowText();
    if (host_->WindowText().empty())
        host_->SetWindowText(url_);
    PositionWindow();
    host_->SetTooltip(url_);
    host_->Redraw();
}

void CFOHyperLink::SetURL(const std::string& url) {
    url_ = url;
    if (host_) {
        PositionWindow();
        host_->SetTooltip(url_);
    }
}

void CFOHyperLink::SetColors(COLORREF link, COLORREF visited, COLORREF hover) {
    link_ = link;
    visitedColour_ = visited;
    hover_ = hover == CLR_INVALID ? GetSysColor(COLOR_HIGHLIGHT) : hover;
    if (host_)
        host_->Redraw();
}

void CFOHyperLink::SetVisited(bool visited) {
    visited_ = visited;
    if (host_)
        host_->Redraw();
}

void CFOHyperLink::SetUnderline(bool underline) {
    underline_ = underline;
    if (host_)
        host_->Redraw();
}

void CFOHyperLink::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (host_)
        PositionWindow();
}

bool CFOHyperLink::GotoURL(const std::string& url) {
    // An empty address would open whatever the desktop makes of nothing.
    return !url.empty() && IShell::Current().Open(url);
}

void CFOHyperLink::ReportError(int code) {
    AfxMessageBox("Unable to open hyperlink:\n\n" + ErrorText(code), MB_ICONWARNING);
}

void CFOHyperLink::PositionWindow() {
    if (!host_ || !autoSize_)
        return;
    const CSize text = host_->MeasureText(host_->WindowText());
    host_->MoveTo(FitRect(host_->WindowRect(), text, style_));
}

CRect CFOHyperLink::FitRect(const CRect& window, CSize text, UINT style) {
    CRect r = window;
    if (style & kCenterImage)
        r.DeflateRect(0, (r.Height() - text.cy) / 2);
    else
        r.bottom = r.top + text.cy;
    if (style & kCenter)
        r.DeflateRect((r.Width() - text.cx) / 2, 0);
    else if (style & kRight)
        r.left = r.right - text.cx;
    else
        r.right = r.left + text.cx;
    return r;
}

COLORREF CFOHyperLink::TextColour() const {
    if (over_)
        return hover_;
    return visited_ ? visitedColour_ : link_;
}

void CFOHyperLink::OnClicked() {
    if (GotoURL(url_)) {
        SetVisited(true);
        return;
    }
    if (host_)
        host_->Bell();
    // The desktop has nothing that opens the address.
    ReportError(31);
}

void CFOHyperLink::OnMouseMove(CPoint point, CSize client) {
    const bool inside = point.x >= 0 && point.y >= 0 && point.x < client.cx && point.y < client.cy;
    if (!over_ && inside) {
        over_ = true;
        if (host_) {
            host_->Redraw();
            host_->SetCapture(true);
        }
    } else if (over_ && !inside) {
        over_ = false;
        if (host_) {
            host_->SetCapture(false);
            host_->Redraw();
        }
    }
}

void CFOHyperLink::Draw(CDC& dc, const CRect& client) {
    if (!host_)
        return;
    CFont font;
    LOGFONT lf = CFont::Stock(DEFAULT_GUI_FONT)->Log();
    lf.lfUnderline = underline_ ? 1 : 0;
    font.CreateFontIndirect(&lf);
    CFont* old = dc.SelectObject(&font);
    const COLORREF oldColour = dc.SetTextColor(TextColour());
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    CRect r = client;
    UINT format = DT_SINGLELINE | DT_NOPREFIX;
    if (style_ & kCenter)
        format |= DT_CENTER;
    else if (style_ & kRight)
        format |= DT_RIGHT;
    if (style_ & kCenterImage)
        format |= DT_VCENTER;
    dc.DrawText(host_->WindowText(), &r, format);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColour);
    if (old)
        dc.SelectObject(old);
}

std::string CFOHyperLink::ErrorText(int code) {
    switch (code) {
    case 0:
        return "The operating system is out\nof memory or resources.";
    case 2:
        return "The specified file was not found.";
    case 3:
        return "The specified path was not found.";
    case 5:
        return "The operating system denied\naccess to the specified file.";
    case 8:
        return "There was not enough memory to complete the operation.";
    case 11:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26:
        return "A sharing violation occurred. ";
    case 27:
        return "The filename association is\nincomplete or invalid.";
    case 28:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29:
        return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not\nbe completed because other DDE "
               "transactions\nwere being processed.";
    case 31:
        return "There is no application associated\nwith the given filename extension.";
    case 32:
        return "The specified dynamic-link library was not found.";
    default:
        return "Unknown Error (" + std::to_string(code) + ") occurred.";
    }
}
