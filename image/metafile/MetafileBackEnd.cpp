#include "image/metafile/MetafileBackEnd.h"

#include "image/metafile/EmfRecordTypes.h"
#include "platform/RasterSurface.h"
#include "platform/TextLayout.h"

#include <cairo.h>
#include <glib.h>
#include <pango/pango.h>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace EmfRecordType;

namespace {

constexpr DWORD kHeaderBytes = 108; // the base header with both of its extensions
constexpr DWORD kDstInvert = 0x00550009;
constexpr DWORD kSrcCopy = 0x00CC0020;
constexpr DWORD kRgnCopy = 5;
constexpr DWORD kGmCompatible = 1;
constexpr UINT kTaBaseline = 24;
// The reference screen: 1920 x 1440 pixels, 20 x 15 inches at 96 dots per inch.
constexpr LONG kScreenWidth = 1920;
constexpr LONG kScreenHeight = 1440;
// Larger polyline records would only strain readers.
constexpr std::size_t kMaxLinePoints = 1 << 16;
constexpr std::size_t kLogFontPanoseBytes = 320;

LONG Round(double v) {
    return static_cast<LONG>(std::lround(std::clamp(v, -2e9, 2e9)));
}

// Hundredths of a millimetre to pixels at `dpi`, to nearest.
LONG FromFrame(LONG v, int dpi) {
    return Round(static_cast<double>(v) * dpi / 2540.0);
}

std::u16string Utf16(const std::string& utf8, std::size_t maxUnits) {
    glong written = 0;
    gunichar2* units =
        g_utf8_to_utf16(utf8.c_str(), static_cast<glong>(utf8.size()), nullptr, &written, nullptr);
    std::u16string out;
    if (units)
        out.assign(reinterpret_cast<const char16_t*>(units),
                   static_cast<std::size_t>(std::min<glong>(written, glong(maxUnits))));
    g_free(units);
    return out;
}

bool SamePen(const DevicePen& a, const DevicePen& b) {
    return a.style == b.style && a.width == b.width && a.color == b.color &&
           a.geometric == b.geometric;
}

bool SameBrush(const DeviceBrush& a, const DeviceBrush& b) {
    return a.style == b.style && a.color == b.color &&
           (a.style != BS_HATCHED || a.hatch == b.hatch);
}

} // namespace

bool MetafileBackEnd::FontKey::operator==(const FontKey& o) const {
    return face == o.face && height == o.height && escapement == o.escapement &&
           log.lfWeight == o.log.lfWeight && log.lfItalic == o.log.lfItalic &&
           log.lfUnderline == o.log.lfUnderline && log.lfStrikeOut == o.log.lfStrikeOut &&
           log.lfCharSet == o.log.lfCharSet && log.lfPitchAndFamily == o.log.lfPitchAndFamily;
}

void MetafileBackEnd::BoundsBox::Add(LONG x, LONG y) {
    if (empty) {
        left = right = x;
        top = bottom = y;
        empty = false;
        return;
    }
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
}

MetafileBackEnd::MetafileBackEnd(const Setup& setup)
    : refDpiX_(setup.referenceDpiX > 0 ? setup.referenceDpiX : 96),
      refDpiY_(setup.referenceDpiY > 0 ? setup.referenceDpiY : 96) {
    CRect frame = setup.frame;
    frame.NormalizeRect();
    bounds_ = CRect(0, 0, FromFrame(frame.Width(), kDpi), FromFrame(frame.Height(), kDpi));
    clip_ = clipWritten_ = bounds_;
    out_.Reserve(1 << 16);
    WriteHeader(setup);
    out_.Begin(kSetMapMode);
    out_.U32(MM_HIENGLISH);
    out_.End();
    // Text is placed by its baseline, so a reader's substitute face still sits on the line.
    out_.Begin(kSetTextAlign);
    out_.U32(kTaBaseline);
    out_.End();
}

void MetafileBackEnd::WriteHeader(const Setup& setup) {
    CRect frame = setup.frame;
    frame.NormalizeRect();
    std::u16string description = Utf16(setup.description, 1 << 16);
    description.append(2, u'\0');
    out_.Begin(kHeader);
    // Bounds: the frame in reference pixels. Readers take right - left as the picture's width,
    // so the far edges are not pulled in by one.
    out_.S32(FromFrame(frame.left, refDpiX_));
    out_.S32(FromFrame(frame.top, refDpiY_));
    out_.S32(FromFrame(frame.right, refDpiX_));
    out_.S32(FromFrame(frame.bottom, refDpiY_));
    out_.S32(frame.left);
    out_.S32(frame.top);
    out_.S32(frame.right);
    out_.S32(frame.bottom);
    out_.U32(kSignature);
    out_.U32(0x10000); // version
    out_.U32(0);       // file bytes, at Finish
    out_.U32(0);       // records, at Finish
    out_.U16(kHandles);
    out_.U16(0);
    out_.U32(static_cast<DWORD>(description.size()));
    out_.U32(kHeaderBytes);
    out_.U32(0); // palette entries
    out_.S32(kScreenWidth);
    out_.S32(kScreenHeight);
    // Millimetres and micrometres of the reference screen at its resolution.
    out_.S32(Round(kScreenWidth * 25.4 / refDpiX_));
    out_.S32(Round(kScreenHeight * 25.4 / refDpiY_));
    out_.U32(0); // pixel format bytes
    out_.U32(0); // pixel format offset
    out_.U32(0); // no OpenGL records
    out_.S32(Round(kScreenWidth * 25400.0 / refDpiX_));
    out_.S32(Round(kScreenHeight * 25400.0 / refDpiY_));
    for (char16_t c : description)
        out_.U16(static_cast<WORD>(c));
    out_.End();
}

DeviceCaps MetafileBackEnd::Caps() const {
    DeviceCaps caps;
    caps.technology = DT_METAFILE;
    caps.dpiX = caps.dpiY = kDpi;
    caps.horzRes = bounds_.Width();
    caps.vertRes = bounds_.Height();
    caps.bitsPixel = 24;
    return caps;
}

std::vector<BYTE> MetafileBackEnd::Finish() {
    if (finished_)
        return {};
    FlushLines();
    finished_ = true;
    out_.Begin(kEof);
    out_.U32(0);  // palette entries
    out_.U32(16); // their offset
    out_.U32(20); // this record's size, repeated at its end
    out_.End();
    out_.PatchU32(48, static_cast<DWORD>(out_.Size()));
    out_.PatchU32(52, out_.Records());
    return std::move(out_.Bytes());
}

// ---- state -------------------------------------------------------------------------------

void MetafileBackEnd::WriteBounds(const BoundsBox& box) {
    if (box.empty) {
        out_.Zeros(16);
        return;
    }
    auto px = [](LONG v, int dpi) {
        return static_cast<LONG>(std::floor(static_cast<double>(v) * dpi / kDpi));
    };
    out_.S32(px(box.left, refDpiX_));
    out_.S32(px(box.top, refDpiY_));
    out_.S32(px(box.right, refDpiX_));
    out_.S32(px(box.bottom, refDpiY_));
}

bool MetafileBackEnd::Fits16(const CPoint& p) {
    return p.x >= -32768 && p.x <= 32767 && p.y >= -32767 && p.y <= 32768;
}

void MetafileBackEnd::WritePoint16or32(const CPoint& p, bool wide) {
    if (wide) {
        out_.S32(p.x);
        out_.S32(-p.y);
    } else {
        out_.S16(static_cast<short>(p.x));
        out_.S16(static_cast<short>(-p.y));
    }
}

void MetafileBackEnd::SetClip(const CRect& clip) {
    // Lines already given were drawn under the clip they met.
    if (clip != clip_)
        FlushLines();
    clip_ = clip;
}

// Every record but the pending lines' own starts here: the lines go first and the clip is
// brought up to date.
void MetafileBackEnd::Prepare() {
    FlushLines();
    ApplyClip();
}

void MetafileBackEnd::ApplyClip() {
    if (clip_ == clipWritten_)
        return;
    out_.Begin(kExtSelectClipRgn);
    out_.U32(0); // no region: the clip is removed
    out_.U32(kRgnCopy);
    out_.End();
    if (clip_ != bounds_) {
        out_.Begin(kIntersectClipRect);
        out_.S32(clip_.left);
        out_.S32(-clip_.top);
        out_.S32(clip_.right);
        out_.S32(-clip_.bottom);
        out_.End();
    }
    clipWritten_ = clip_;
}

DWORD MetafileBackEnd::NextSlot(int current, DWORD first) const {
    return current == static_cast<int>(first) ? first + 1 : first;
}

void MetafileBackEnd::SelectStock(int& slot, DWORD stock) {
    if (slot == -static_cast<int>(stock) - 1)
        return;
    out_.Begin(kSelectObject);
    out_.U32(kStockObject | stock);
    out_.End();
    if (slot > 0) {
        out_.Begin(kDeleteObject);
        out_.U32(static_cast<DWORD>(slot));
        out_.End();
    }
    slot = -static_cast<int>(stock) - 1;
}

void MetafileBackEnd::SelectNullPen() {
    SelectStock(pen_, NULL_PEN);
}

void MetafileBackEnd::SelectPen(const DevicePen& pen, const Background& bk) {
    if (pen.IsNull()) {
        SelectNullPen();
        return;
    }
    if (pen.style != PS_SOLID)
        SetBk(bk);
    if (pen_ > 0 && SamePen(pen, penShown_))
        return;
    const DWORD slot = NextSlot(pen_, kPenSlot);
    if (pen.geometric) {
        out_.Begin(kExtCreatePen);
        out_.U32(slot);
        out_.U32(0); // no pattern bitmap
        out_.U32(0);
        out_.U32(0);
        out_.U32(0);
        out_.U32(static_cast<DWORD>(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER | pen.style));
        out_.U32(static_cast<DWORD>(pen.width));
        out_.U32(BS_SOLID);
        out_.U32(pen.color & 0xFFFFFF);
        out_.U32(0); // hatch
        out_.U32(0); // no style entries
        out_.End();
    } else {
        out_.Begin(kCreatePen);
        out_.U32(slot);
        out_.U32(static_cast<DWORD>(pen.style));
        out_.S32(pen.width);
        out_.S32(0);
        out_.U32(pen.color & 0xFFFFFF);
        out_.End();
    }
    out_.Begin(kSelectObject);
    out_.U32(slot);
    out_.End();
    if (pen_ > 0) {
        out_.Begin(kDeleteObject);
        out_.U32(static_cast<DWORD>(pen_));
        out_.End();
    }
    pen_ = static_cast<int>(slot);
    penShown_ = pen;
}

void MetafileBackEnd::SelectBrush(const DeviceBrush& brush, const Background& bk) {
    if (brush.IsNull()) {
        SelectStock(brush_, NULL_BRUSH);
        return;
    }
    if (brush.style == BS_HATCHED)
        SetBk(bk);
    if (brush_ > 0 && SameBrush(brush, brushShown_))
        return;
    const DWORD slot = NextSlot(brush_, kBrushSlot);
    out_.Begin(kCreateBrushIndirect);
    out_.U32(slot);
    out_.U32(static_cast<DWORD>(brush.style));
    out_.U32(brush.color & 0xFFFFFF);
    out_.U32(static_cast<DWORD>(brush.style == BS_HATCHED ? brush.hatch : 0));
    out_.End();
    out_.Begin(kSelectObject);
    out_.U32(slot);
    out_.End();
    if (brush_ > 0) {
        out_.Begin(kDeleteObject);
        out_.U32(static_cast<DWORD>(brush_));
        out_.End();
    }
    brush_ = static_cast<int>(slot);
    brushShown_ = brush;
}

void MetafileBackEnd::SelectFont(const FontKey& key) {
    if (font_ > 0 && key == fontShown_)
        return;
    const DWORD slot = NextSlot(font_, kFontSlot);
    out_.Begin(kExtCreateFontIndirectW);
    out_.U32(slot);
    out_.S32(key.height);
    out_.S32(0); // width: the face's own
    out_.S32(key.escapement);
    out_.S32(key.escapement);
    out_.S32(key.log.lfWeight);
    out_.U8(key.log.lfItalic);
    out_.U8(key.log.lfUnderline);
    out_.U8(key.log.lfStrikeOut);
    out_.U8(key.log.lfCharSet);
    out_.U8(key.log.lfOutPrecision);
    out_.U8(key.log.lfClipPrecision);
    out_.U8(key.log.lfQuality);
    out_.U8(key.log.lfPitchAndFamily);
    for (std::size_t i = 0; i < LF_FACESIZE; ++i)
        out_.U16(i < key.face.size() ? static_cast<WORD>(key.face[i]) : 0);
    // The rest of the extended description (full name, style, panose) is left empty.
    out_.Zeros(kLogFontPanoseBytes - 92);
    out_.End();
    out_.Begin(kSelectObject);
    out_.U32(slot);
    out_.End();
    if (font_ > 0) {
        out_.Begin(kDeleteObject);
        out_.U32(static_cast<DWORD>(font_));
        out_.End();
    }
    font_ = static_cast<int>(slot);
    fontShown_ = key;
}

void MetafileBackEnd::SetBk(const Background& bk) {
    if (bk.mode != bkMode_) {
        out_.Begin(kSetBkMode);
        out_.U32(static_cast<DWORD>(bk.mode));
        out_.End();
        bkMode_ = bk.mode;
    }
    if (bk.IsOpaque() && (bk.color & 0xFFFFFF) != bkColor_) {
        out_.Begin(kSetBkColor);
        out_.U32(bk.color & 0xFFFFFF);
        out_.End();
        bkColor_ = bk.color & 0xFFFFFF;
    }
}

void MetafileBackEnd::SetFillMode(int mode) {
    if (mode == fillMode_)
        return;
    out_.Begin(kSetPolyFillMode);
    out_.U32(static_cast<DWORD>(mode));
    out_.End();
    fillMode_ = mode;
}

void MetafileBackEnd::SetTextColor(COLORREF color) {
    color &= 0xFFFFFF;
    if (color == textColor_)
        return;
    out_.Begin(kSetTextColor);
    out_.U32(color);
    out_.End();
    textColor_ = color;
}

// ---- lines and shapes ---------------------------------------------------------------------

void MetafileBackEnd::FlushLines() {
    if (lineCounts_.empty())
        return;
    const bool wide = linesWide_;
    ApplyClip();
    SelectPen(linePen_, lineBk_);
    out_.Begin(wide ? kPolyPolyline : kPolyPolyline16);
    WriteBounds(lineBounds_);
    out_.U32(static_cast<DWORD>(lineCounts_.size()));
    out_.U32(static_cast<DWORD>(linePoints_.size()));
    for (DWORD n : lineCounts_)
        out_.U32(n);
    for (const CPoint& p : linePoints_)
        WritePoint16or32(p, wide);
    out_.End();
    lineCounts_.clear();
    linePoints_.clear();
    linesWide_ = false;
    lineBounds_ = BoundsBox{};
}

void MetafileBackEnd::Stroke(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                             const Background& bk) {
    if (finished_ || pen.IsNull() || points.empty())
        return;
    const bool sameBk =
        pen.style == PS_SOLID || (bk.mode == lineBk_.mode && bk.color == lineBk_.color);
    if (!lineCounts_.empty() && (!SamePen(pen, linePen_) || !sameBk ||
                                 linePoints_.size() + points.size() + 1 > kMaxLinePoints))
        FlushLines();
    if (lineCounts_.empty()) {
        ApplyClip();
        linePen_ = pen;
        lineBk_ = bk;
    }
    const std::size_t first = linePoints_.size();
    linePoints_.insert(linePoints_.end(), points.begin(), points.end());
    // A two-point outline runs there and back: the way there draws all of it.
    if (closed && points.size() > 2)
        linePoints_.push_back(points.front());
    if (points.size() == 1)
        linePoints_.push_back(points.front());
    for (std::size_t i = first; i < linePoints_.size(); ++i) {
        linesWide_ = linesWide_ || !Fits16(linePoints_[i]);
        lineBounds_.Add(linePoints_[i].x, linePoints_[i].y);
    }
    lineCounts_.push_back(static_cast<DWORD>(linePoints_.size() - first));
}

void MetafileBackEnd::Polygon(const std::vector<CPoint>& points) {
    bool wide = false;
    BoundsBox box;
    for (const CPoint& p : points) {
        wide = wide || !Fits16(p);
        box.Add(p.x, p.y);
    }
    out_.Begin(wide ? kPolygon : kPolygon16);
    WriteBounds(box);
    out_.U32(static_cast<DWORD>(points.size()));
    for (const CPoint& p : points)
        WritePoint16or32(p, wide);
    out_.End();
}

void MetafileBackEnd::FillPolygon(const std::vector<CPoint>& points, int fillMode,
                                  const DeviceBrush& brush, const Background& bk) {
    if (finished_ || brush.IsNull() || points.size() < 3)
        return;
    Prepare();
    SelectNullPen();
    SelectBrush(brush, bk);
    SetFillMode(fillMode);
    Polygon(points);
}

void MetafileBackEnd::FillRect(const CRect& rect, const DeviceBrush& brush, const Background& bk) {
    if (rect.IsRectEmpty())
        return;
    FillPolygon({{rect.left, rect.top},
                 {rect.right, rect.top},
                 {rect.right, rect.bottom},
                 {rect.left, rect.bottom}},
                ALTERNATE, brush, bk);
}

void MetafileBackEnd::Ellipse(const CRect& box, const DevicePen& pen, const DeviceBrush& brush,
                              const Background& bk) {
    if (finished_ || (pen.IsNull() && brush.IsNull()))
        return;
    Prepare();
    SelectPen(pen, bk);
    SelectBrush(brush, bk);
    // The box given includes its right and bottom edges; the record's does not.
    out_.Begin(kEllipse);
    out_.S32(box.left);
    out_.S32(-box.top);
    out_.S32(box.right + 1);
    out_.S32(-(box.bottom + 1));
    out_.End();
}

void MetafileBackEnd::InvertDeviceRect(const CRect& rect) {
    if (rect.IsRectEmpty())
        return;
    BoundsBox b;
    b.Add(rect.left, rect.top);
    b.Add(rect.right - 1, rect.bottom - 1);
    out_.Begin(kBitBlt);
    WriteBounds(b);
    out_.S32(rect.left);
    out_.S32(-rect.top);
    out_.S32(rect.Width());
    out_.S32(-rect.Height());
    out_.U32(kDstInvert);
    out_.Zeros(8 + 24 + 4 + 4); // source origin, transform, colour, usage
    out_.Zeros(16);             // no source bitmap
    out_.End();
}

void MetafileBackEnd::InvertRect(const CRect& rect) {
    if (finished_)
        return;
    Prepare();
    InvertDeviceRect(rect);
}

void MetafileBackEnd::FocusRect(const CRect& rect) {
    if (finished_ || rect.Width() < 2 || rect.Height() < 2)
        return;
    Prepare();
    InvertDeviceRect({rect.left, rect.top, rect.right, rect.top + 1});
    InvertDeviceRect({rect.left, rect.bottom - 1, rect.right, rect.bottom});
    InvertDeviceRect({rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1});
    InvertDeviceRect({rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1});
}

COLORREF MetafileBackEnd::GetPixel(CPoint) {
    return CLR_INVALID; // a recording cannot be read back
}

void MetafileBackEnd::SetPixel(CPoint p, COLORREF color) {
    if (finished_)
        return;
    Prepare();
    out_.Begin(kSetPixelV);
    out_.S32(p.x);
    out_.S32(-p.y);
    out_.U32(color & 0xFFFFFF);
    out_.End();
}

// ---- text ---------------------------------------------------------------------------------

void MetafileBackEnd::DrawText(const TextLayout& layout, const TextPlacement& where) {
    if (finished_)
        return;
    Prepare();
    const double c = std::cos(where.angle), s = std::sin(where.angle);
    // A point of the layout on the device: the layout is turned about (x, y).
    auto place = [&](double a, double b) {
        a += where.dx;
        b += where.dy;
        return std::pair<double, double>(where.x + c * a + s * b, where.y - s * a + c * b);
    };
    if (where.background.IsOpaque()) {
        DeviceBrush solid;
        solid.color = where.background.color;
        for (const TextLayout::Box& box : layout.LineBoxes()) {
            std::vector<CPoint> corners;
            for (const auto& [a, b] : {std::pair{box.x, box.y},
                                       {box.x + box.width, box.y},
                                       {box.x + box.width, box.y + box.height},
                                       {box.x, box.y + box.height}}) {
                const auto [x, y] = place(a, b);
                corners.push_back({Round(x), Round(y)});
            }
            FillPolygon(corners, ALTERNATE, solid, Background{TRANSPARENT, 0});
        }
    }
    FontKey key;
    const PangoFontDescription* desc = pango_layout_get_font_description(layout.Get());
    const double em =
        desc ? static_cast<double>(pango_font_description_get_size(desc)) / PANGO_SCALE : 16.0;
    key.height = -std::max<LONG>(1, Round(em));
    key.escapement = Round(where.angle * 1800.0 / std::numbers::pi);
    if (where.requested) {
        key.log = *where.requested;
        key.face = Utf16(where.requested->FaceName(), LF_FACESIZE - 1);
    } else if (desc && pango_font_description_get_family(desc)) {
        key.face = Utf16(pango_font_description_get_family(desc), LF_FACESIZE - 1);
        key.log.lfWeight = pango_font_description_get_weight(desc);
    }
    SelectFont(key);
    SetTextColor(where.color);
    SetBk(Background{TRANSPARENT, bkColor_});
    for (const TextLayout::Line& line : layout.Lines()) {
        const std::u16string text = Utf16(line.utf8, 1 << 20);
        if (text.empty())
            continue;
        // One advance per UTF-16 unit: a character outside the basic plane takes its whole
        // advance on its first unit.
        std::vector<LONG> advances;
        advances.reserve(text.size());
        const double origin = line.starts.front();
        std::size_t ch = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool trail = text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0;
            if (trail || ch + 1 >= line.starts.size()) {
                advances.push_back(0);
                continue;
            }
            advances.push_back(Round(line.starts[ch + 1] - origin) -
                               Round(line.starts[ch] - origin));
            ++ch;
        }
        const auto [x, y] = place(origin, line.baseline);
        const auto [endX, endY] = place(line.starts.back(), line.baseline);
        BoundsBox b;
        b.Add(Round(x), Round(y));
        b.Add(Round(endX), Round(endY));
        const DWORD stringAt = 76;
        const DWORD dxAt = stringAt + static_cast<DWORD>((text.size() * 2 + 3) / 4 * 4);
        out_.Begin(kExtTextOutW);
        WriteBounds(b);
        out_.U32(kGmCompatible);
        // Page units (thousandths of an inch) to hundredths of a millimetre.
        out_.F32(2.54f);
        out_.F32(2.54f);
        out_.S32(Round(x));
        out_.S32(-Round(y));
        out_.U32(static_cast<DWORD>(text.size()));
        out_.U32(stringAt);
        out_.U32(0); // options
        out_.Zeros(16);
        out_.U32(dxAt);
        for (char16_t u : text)
            out_.U16(static_cast<WORD>(u));
        out_.Zeros(dxAt - stringAt - text.size() * 2);
        for (LONG a : advances)
            out_.S32(a);
        out_.End();
    }
}

// ---- pictures -----------------------------------------------------------------------------

void MetafileBackEnd::DrawSurface(RasterSurface& source, const CRect& from, const CRect& to) {
    if (finished_ || from.Width() == 0 || from.Height() == 0 || to.Width() == 0 || to.Height() == 0)
        return;
    CRect f(from), t(to);
    f.NormalizeRect();
    t.NormalizeRect();
    const bool flipX = (from.Width() < 0) != (to.Width() < 0);
    const bool flipY = (from.Height() < 0) != (to.Height() < 0);
    CRect src;
    if (!src.IntersectRect(f, source.Rect()))
        return;
    if (src != f) {
        // Only the part inside the picture is kept; its target shrinks with it.
        const double sx = static_cast<double>(t.Width()) / f.Width();
        const double sy = static_cast<double>(t.Height()) / f.Height();
        const double cutLeft = flipX ? f.right - src.right : src.left - f.left;
        const double cutRight = flipX ? src.left - f.left : f.right - src.right;
        const double cutTop = flipY ? f.bottom - src.bottom : src.top - f.top;
        const double cutBottom = flipY ? src.top - f.top : f.bottom - src.bottom;
        t = CRect(Round(t.left + cutLeft * sx), Round(t.top + cutTop * sy),
                  Round(t.right - cutRight * sx), Round(t.bottom - cutBottom * sy));
        if (t.IsRectEmpty())
            return;
    }
    Prepare();
    StretchDib(source, src, t, flipX, flipY);
}

void MetafileBackEnd::StretchDib(RasterSurface& source, const CRect& from, const CRect& to,
                                 bool flipX, bool flipY) {
    const bool alpha = cairo_image_surface_get_format(source.CairoSurface()) == CAIRO_FORMAT_ARGB32;
    const int w = from.Width(), h = from.Height();
    const int bpp = alpha ? 32 : 24;
    const std::uint64_t rowBytes = (std::uint64_t(w) * bpp / 8 + 3) / 4 * 4;
    const std::uint64_t bits = rowBytes * std::uint64_t(h);
    if (bits > 0x7FFFFF00u)
        return; // more than a record can hold
    // Target in the file's logical units; a negative extent mirrors.
    const LONG xDest = flipX ? to.right : to.left;
    const LONG cxDest = flipX ? -to.Width() : to.Width();
    const LONG yDest = flipY ? -to.bottom : -to.top;
    const LONG cyDest = flipY ? to.Height() : -to.Height();
    BoundsBox b;
    b.Add(to.left, to.top);
    b.Add(to.right - 1, to.bottom - 1);
    const DWORD fixed = alpha ? 108 : 80;
    out_.Begin(alpha ? kAlphaBlend : kStretchDiBits);
    WriteBounds(b);
    out_.S32(xDest);
    out_.S32(yDest);
    if (alpha) {
        out_.S32(cxDest);
        out_.S32(cyDest);
        out_.U32(0x01FF0000); // source over, constant alpha 255, per-pixel alpha
        out_.S32(0);          // source origin
        out_.S32(0);
        for (float m : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) // source transform
            out_.F32(m);
        out_.U32(0); // background colour
        out_.U32(0); // DIB_RGB_COLORS
        out_.U32(fixed);
        out_.U32(40);
        out_.U32(fixed + 40);
        out_.U32(static_cast<DWORD>(bits));
        out_.S32(w);
        out_.S32(h);
    } else {
        out_.S32(0); // source origin, from the bottom-left
        out_.S32(0);
        out_.S32(w);
        out_.S32(h);
        out_.U32(fixed);
        out_.U32(40);
        out_.U32(fixed + 40);
        out_.U32(static_cast<DWORD>(bits));
        out_.U32(0); // DIB_RGB_COLORS
        out_.U32(kSrcCopy);
        out_.S32(cxDest);
        out_.S32(cyDest);
    }
    // Bitmap info header: bottom-up rows, uncompressed.
    out_.U32(40);
    out_.S32(w);
    out_.S32(h);
    out_.U16(1);
    out_.U16(static_cast<WORD>(bpp));
    out_.U32(0);
    out_.U32(static_cast<DWORD>(bits));
    out_.S32(3780); // 96 dots per inch in pixels per metre
    out_.S32(3780);
    out_.U32(0);
    out_.U32(0);
    const std::size_t start = out_.Size();
    out_.Zeros(static_cast<std::size_t>(bits));
    BYTE* dib = out_.Bytes().data() + start;
    const std::uint32_t* pixels = source.Pixels();
    const std::size_t step = static_cast<std::size_t>(source.Stride() / 4);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = pixels + step * std::size_t(from.bottom - 1 - y) + from.left;
        BYTE* d = dib + static_cast<std::size_t>(rowBytes) * std::size_t(y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t px = row[x];
            *d++ = static_cast<BYTE>(px);
            *d++ = static_cast<BYTE>(px >> 8);
            *d++ = static_cast<BYTE>(px >> 16);
            if (alpha)
                *d++ = static_cast<BYTE>(px >> 24);
        }
    }
    out_.End();
}
