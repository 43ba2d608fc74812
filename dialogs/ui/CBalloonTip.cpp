#include "dialogs/ui/CBalloonTip.h"

#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/tokenzr.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kTimerId = 100;

CBalloonTip*& CurrentBalloon() {
    static CBalloonTip* current = nullptr;
    return current;
}

// The rounded body as a polygon: quarter ellipses of the corner size at each corner.
std::vector<wxPoint> RoundedBody(const BalloonRect& r, int cornerW, int cornerH) {
    const double rx = cornerW / 2.0;
    const double ry = cornerH / 2.0;
    const struct {
        double cx, cy, start;
    } corners[] = {{r.right - rx, r.top + ry, -90},
                   {r.right - rx, r.bottom - ry, 0},
                   {r.left + rx, r.bottom - ry, 90},
                   {r.left + rx, r.top + ry, 180}};
    std::vector<wxPoint> points;
    for (const auto& c : corners)
        for (int step = 0; step <= 8; ++step) {
            const double a = (c.start + step * 90.0 / 8) * M_PI / 180;
            points.emplace_back(int(std::lround(c.cx + rx * std::cos(a))),
                                int(std::lround(c.cy + ry * std::sin(a))));
        }
    return points;
}

wxRegion Moved(const wxRegion& region, int dx, int dy) {
    wxRegion moved(region);
    moved.Offset(dx, dy);
    return moved;
}

} // namespace

CBalloonTip* CBalloonTip::Show(const Request& request) {
    if (!BalloonSlot::Claim())
        return nullptr;
    // A hidden owner keeps the balloon off the task bar; destroying it takes the balloon along.
    auto* owner = new wxFrame(nullptr, wxID_ANY, wxEmptyString);
    auto* balloon = new CBalloonTip(owner, request);
    if (!balloon->BuildShape()) {
        wxMessageBox("ERROR in Combining Region");
        owner->Destroy();
        return nullptr;
    }
    balloon->timer_.StartOnce(BalloonGeometry::TimerMilliseconds(request.seconds));
    balloon->wxPopupWindow::Show();
    return balloon;
}

void CBalloonTip::Hide() {
    if (CBalloonTip* balloon = CurrentBalloon()) {
        balloon->wxPopupWindow::Hide();
        balloon->Close();
    }
}

CBalloonTip* CBalloonTip::Current() {
    return CurrentBalloon();
}

CBalloonTip::CBalloonTip(wxFrame* owner, const Request& request)
    : wxPopupWindow(owner, wxBORDER_NONE | wxFRAME_SHAPED), owner_(owner), request_(request),
      timer_(this, kTimerId) {
    CurrentBalloon() = this;
    const BalloonRect place = BalloonGeometry::Place(request.x, request.y, request.width,
                                                     request.height, request.pointerDown);
    SetSize(place.left, place.top, place.Width(), place.Height());
    shape_ = BalloonGeometry::Shape(place.Width(), place.Height(), request.pointerDown);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CBalloonTip::OnPaint, this);
    Bind(wxEVT_TIMER, &CBalloonTip::OnTimer, this, kTimerId);
    Bind(wxEVT_LEFT_DOWN, &CBalloonTip::OnClick, this);
    Bind(wxEVT_RIGHT_DOWN, &CBalloonTip::OnClick, this);
}

CBalloonTip::~CBalloonTip() {
    timer_.Stop();
    if (CurrentBalloon() == this)
        CurrentBalloon() = nullptr;
    BalloonSlot::Release();
}

bool CBalloonTip::BuildShape() {
    const std::vector<wxPoint> body =
        RoundedBody(shape_.body, shape_.cornerWidth, shape_.cornerHeight);
    const wxPoint pointer[3] = {{shape_.pointer[0].x, shape_.pointer[0].y},
                                {shape_.pointer[1].x, shape_.pointer[1].y},
                                {shape_.pointer[2].x, shape_.pointer[2].y}};
    region_ = wxRegion(body.size(), body.data());
    if (!region_.Union(wxRegion(3, pointer)))
        return false;
    // Window managers without shaping leave the plain rectangle, which still works.
    shaped_ = SetShape(region_);
    return true;
}

void CBalloonTip::Close() {
    timer_.Stop();
    if (owner_) {
        wxFrame* owner = owner_;
        owner_ = nullptr;
        owner->Destroy();
    }
}

void CBalloonTip::OnTimer(wxTimerEvent&) {
    Close();
}

void CBalloonTip::OnClick(wxMouseEvent&) {
    Close();
}

void CBalloonTip::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    // The inside is what stays of the outline when it is pulled in 2 pixels across, 1 down.
    wxRegion inner(region_);
    inner.Intersect(Moved(region_, 2, 0));
    inner.Intersect(Moved(region_, -2, 0));
    inner.Intersect(Moved(region_, 0, 1));
    inner.Intersect(Moved(region_, 0, -1));
    dc.SetDeviceClippingRegion(inner);
    dc.SetBrush(wxBrush(wxColour(249, 254, 188)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(GetClientRect());
    dc.DestroyClippingRegion();

    dc.SetFont(request_.font.IsOk() ? request_.font : *wxNORMAL_FONT);
    dc.SetTextForeground(*wxRED);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxRect text(shape_.text.left, shape_.text.top, shape_.text.Width(), shape_.text.Height());
    dc.DrawLabel(Wrapped(dc), text, wxALIGN_CENTRE);
}

wxString CBalloonTip::Wrapped(wxDC& dc) const {
    const int width = shape_.text.Width();
    if (dc.GetTextExtent(request_.text).x <= width)
        return request_.text;
    wxString out;
    wxString line;
    wxStringTokenizer words(request_.text, " ");
    while (words.HasMoreTokens()) {
        const wxString word = words.GetNextToken();
        const wxString tried = line.empty() ? word : line + " " + word;
        if (!line.empty() && dc.GetTextExtent(tried).x > width) {
            out += line + "\n";
            line = word;
        } else {
            line = tried;
        }
    }
    return out + line;
}
