#include "image/metafile/EmfPlayer.h"

#include "image/core/CRaster.h"
#include "image/metafile/EmfRecordTypes.h"
#include "image/metafile/MetafileCanvas.h"
#include "image/metafile/MetafileDib.h"
#include "image/metafile/MetafileRecord.h"
#include "platform/GdiConstants.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace EmfRecordType;

constexpr DWORD kSetRop2 = 20, kExcludeClipRect = 29;
constexpr DWORD kFillRgn = 71, kFrameRgn = 72, kInvertRgn = 73, kPaintRgn = 74;
constexpr DWORD kPolyDraw = 56, kPolyDraw16 = 92, kPolyTextOutA = 96, kPolyTextOutW = 97;
constexpr DWORD kSmallTextOut = 108, kTransparentBlt = 116, kGradientFill = 118;

// The field a blit record keeps after its destination: a raster operation, a blend function
// (operation, flags, constant opacity, alpha format) or the colour left out.
MetafileCanvas::BlitMix How(DWORD type, DWORD field) {
    using Kind = MetafileCanvas::BlitMix::Kind;
    if (type == kAlphaBlend)
        return {Kind::Alpha, (field >> 16) & 0xFF};
    if (type == kTransparentBlt)
        return {Kind::Transparent, field & 0xFFFFFF};
    return {Kind::Rop, field};
}
constexpr DWORD kEtoNoRect = 0x0100, kEtoSmallChars = 0x0200;
constexpr BYTE kPtCloseFigure = 1, kPtLineTo = 2, kPtBezierTo = 4, kPtMoveTo = 6;
constexpr DWORD kAngleArc = 41, kArc = 45, kChord = 46, kPie = 47, kArcTo = 55;

constexpr DWORD kSrcCopy = 0x00CC0020;
constexpr DWORD kEtoOpaque = 0x0002;
constexpr DWORD kRgnCopy = 5;
constexpr DWORD kPsGeometric = 0x00010000;

bool Is16(DWORD type) {
    return type >= kPolyBezier16 && type <= kPolyPolygon16;
}

bool Finite(const MetafileMatrix& m) {
    return std::isfinite(m.m11) && std::isfinite(m.m12) && std::isfinite(m.m21) &&
           std::isfinite(m.m22) && std::isfinite(m.dx) && std::isfinite(m.dy);
}

MetafileMatrix Xform(const MetafileRecord& r, std::size_t at) {
    return {r.F32(at),      r.F32(at + 4),  r.F32(at + 8),
            r.F32(at + 12), r.F32(at + 16), r.F32(at + 20)};
}

// The bitmap info and bits that a record points at, joined into one packed bitmap.
std::vector<BYTE> PackedDib(const MetafileRecord& r, std::size_t fields) {
    const DWORD offBmi = r.U32(fields), cbBmi = r.U32(fields + 4);
    const DWORD offBits = r.U32(fields + 8), cbBits = r.U32(fields + 12);
    const std::span<const BYTE> bmi = r.Bytes(offBmi, cbBmi);
    const std::span<const BYTE> bits = r.Bytes(offBits, cbBits);
    if (cbBmi == 0 || bmi.size() != cbBmi || bits.size() != cbBits)
        return {};
    std::vector<BYTE> dib(bmi.begin(), bmi.end());
    dib.insert(dib.end(), bits.begin(), bits.end());
    return dib;
}

} // namespace

EmfPlayer::Result EmfPlayer::Play(std::span<const BYTE> data) {
    std::size_t at = 0;
    while (at < data.size()) {
        if (stop_(at, data.size()))
            return Result::Cancelled;
        if (data.size() - at < 8)
            return Result::Corrupt;
        const DWORD type = GetLittleEndian<DWORD>(&data[at]);
        const DWORD size = GetLittleEndian<DWORD>(&data[at + 4]);
        if (size < 8 || size % 4 != 0 || size > data.size() - at)
            return Result::Corrupt;
        if (type == kEof)
            return Result::Done;
        Record(type, MetafileRecord(data.subspan(at, size)));
        if (canvas_.Cancelled())
            return Result::Cancelled;
        if (canvas_.Exhausted())
            return Result::CutShort;
        at += size;
    }
    return Result::Done;
}

void EmfPlayer::Record(DWORD type, const MetafileRecord& r) {
    MetafileCanvas& c = canvas_;
    auto l = [&](std::size_t at) { return double(r.S32(at)); };
    auto has = [&](std::size_t bytes) { return r.Has(8, bytes); };
    switch (type) {
    case kPolyBezier:
    case kPolygon:
    case kPolyline:
    case kPolyBezierTo:
    case kPolylineTo:
    case kPolyBezier16:
    case kPolygon16:
    case kPolyline16:
    case kPolyBezierTo16:
    case kPolylineTo16:
        Poly(type, r);
        break;
    case kPolyPolyline:
    case kPolyPolygon:
    case kPolyPolyline16:
    case kPolyPolygon16:
        PolyPoly(type, r);
        break;
    case kSetWindowExtEx:
        if (has(8))
            c.Mapping().SetWindowExt(l(8), l(12));
        break;
    case kSetWindowOrgEx:
        if (has(8))
            c.Mapping().SetWindowOrg(l(8), l(12));
        break;
    case kSetViewportExtEx:
        if (has(8))
            c.Mapping().SetViewportExt(l(8), l(12));
        break;
    case kSetViewportOrgEx:
        if (has(8))
            c.Mapping().SetViewportOrg(l(8), l(12));
        break;
    case kScaleViewportExtEx:
        if (has(16))
            c.Mapping().ScaleViewportExt(l(8), l(12), l(16), l(20));
        break;
    case kScaleWindowExtEx:
        if (has(16))
            c.Mapping().ScaleWindowExt(l(8), l(12), l(16), l(20));
        break;
    case kSetPixelV:
        if (has(12))
            c.SetPixel(l(8), l(12), r.U32(16));
        break;
    case kSetMapMode:
        if (has(4))
            c.Mapping().SetMapMode(int(r.U32(8)));
        break;
    case kSetBkMode:
        if (has(4))
            c.SetBkMode(int(r.U32(8)));
        break;
    case kSetRop2:
        if (has(4))
            c.SetRop2(int(r.U32(8)));
        break;
    case kSetPolyFillMode:
        if (has(4))
            c.SetPolyFillMode(int(r.U32(8)));
        break;
    case kSetTextAlign:
        if (has(4))
            c.SetTextAlign(r.U32(8));
        break;
    case kSetTextColor:
        if (has(4))
            c.SetTextColor(r.U32(8));
        break;
    case kSetBkColor:
        if (has(4))
            c.SetBkColor(r.U32(8));
        break;
    case kMoveToEx:
        if (has(8))
            c.MoveTo(l(8), l(12));
        break;
    case kLineTo:
        if (has(8))
            c.LineTo(l(8), l(12));
        break;
    case kIntersectClipRect:
        if (has(16))
            c.IntersectClipRect(l(8), l(12), l(16), l(20));
        break;
    case kExcludeClipRect:
        if (has(16))
            c.ExcludeClipRect(l(8), l(12), l(16), l(20));
        break;
    case kSaveDc:
        c.SaveDC();
        break;
    case kRestoreDc:
        if (has(4))
            c.RestoreDC(r.S32(8));
        break;
    case kSetWorldTransform:
        if (has(24) && Finite(Xform(r, 8)))
            c.SetWorldTransform(Xform(r, 8));
        break;
    case kModifyWorldTransform:
        if (has(28) && Finite(Xform(r, 8)))
            c.ModifyWorldTransform(Xform(r, 8), int(r.U32(32)));
        break;
    case kSelectObject:
        if (has(4))
            Select(r.U32(8));
        break;
    case kDeleteObject:
        if (has(4))
            c.Delete(r.U32(8));
        break;
    case kEllipse:
        if (has(16))
            c.Ellipse(l(8), l(12), l(16), l(20));
        break;
    case kRectangle:
        if (has(16))
            c.Rectangle(l(8), l(12), l(16), l(20));
        break;
    case kArc:
    case kChord:
    case kPie:
    case kArcTo:
        if (has(32)) {
            using Kind = MetafileCanvas::ArcKind;
            const Kind kind = type == kArc     ? Kind::Arc
                              : type == kChord ? Kind::Chord
                              : type == kPie   ? Kind::Pie
                                               : Kind::ArcTo;
            c.Arc(kind, l(8), l(12), l(16), l(20), {l(24), l(28)}, {l(32), l(36)});
        }
        break;
    case kAngleArc:
        if (has(20))
            c.AngleArc({l(8), l(12)}, r.U32(16), r.F32(20), r.F32(24));
        break;
    case kRoundRect:
        if (has(24))
            c.RoundRect(l(8), l(12), l(16), l(20), l(24), l(28));
        break;
    case kBeginPath:
        c.BeginPath();
        break;
    case kEndPath:
        c.EndPath();
        break;
    case kCloseFigure:
        c.CloseFigure();
        break;
    case kFillPath:
        c.FillPath(false);
        break;
    case kStrokeAndFillPath:
        c.FillPath(true);
        break;
    case kStrokePath:
        c.StrokePath();
        break;
    case kSelectClipPath:
        c.SelectClipPath();
        break;
    case kAbortPath:
        c.AbortPath();
        break;
    case kExtSelectClipRgn:
        if (has(8)) {
            const DWORD bytes = r.U32(8), mode = r.U32(12);
            std::vector<RECT> rects;
            if (bytes == 0 && mode == kRgnCopy)
                c.SetDeviceClip(nullptr);
            else if (RegionRects(r, 16, bytes, rects))
                c.SetDeviceClip(&rects, int(mode));
        }
        break;
    case kFrameRgn:
        if (has(32)) {
            std::vector<RECT> rects;
            if (!RegionRects(r, 40, r.U32(24), rects))
                break;
            c.SaveDC(); // keeps the brush
            Select(r.U32(28));
            c.FrameRegion(rects, l(32), l(36));
            c.RestoreDC(-1);
        }
        break;
    case kFillRgn:
    case kInvertRgn:
    case kPaintRgn:
        if (has(20)) {
            const bool withBrush = type == kFillRgn;
            std::vector<RECT> rects;
            if (!RegionRects(r, withBrush ? 32 : 28, r.U32(24), rects))
                break;
            c.SaveDC(); // keeps the brush
            if (withBrush)
                Select(r.U32(28));
            c.FillRegion(rects, type == kInvertRgn ? DSTINVERT : PATCOPY);
            c.RestoreDC(-1);
        }
        break;
    case kBitBlt:
    case kStretchBlt:
    case kSetDiBitsToDevice:
    case kStretchDiBits:
    case kAlphaBlend:
    case kTransparentBlt:
        Blit(type, r);
        break;
    case kExtTextOutA:
    case kExtTextOutW:
    case kPolyTextOutA:
    case kPolyTextOutW:
    case kSmallTextOut:
        Text(type, r);
        break;
    case kPolyDraw:
    case kPolyDraw16:
        PolyDraw(type, r);
        break;
    case kGradientFill:
        GradientFill(r);
        break;
    case kCreatePen:
    case kCreateBrushIndirect:
    case kExtCreateFontIndirectW:
    case kCreateDibPatternBrushPt:
    case kExtCreatePen:
        CreateObject(type, r);
        break;
    default:
        break; // the header, comments (EMF+ among them) and records that draw nothing we keep
    }
}

void EmfPlayer::Select(DWORD index) {
    if (index & kStockObject)
        canvas_.SelectStock(index & ~kStockObject);
    else
        canvas_.Select(index);
}

// Region data at `at`, `bytes` long: a 32-byte header whose third field counts the
// rectangles that follow it.
bool EmfPlayer::RegionRects(const MetafileRecord& r, std::size_t at, DWORD bytes,
                            std::vector<RECT>& rects) {
    const std::uint64_t count = r.U32(at + 8);
    if (bytes < 32 || count > (bytes - 32) / 16 || !r.Has(at + 32, count * 16))
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t p = at + 32 + 16 * i;
        rects.push_back({r.S32(p), r.S32(p + 4), r.S32(p + 8), r.S32(p + 12)});
    }
    return true;
}

void EmfPlayer::CreateObject(DWORD type, const MetafileRecord& r) {
    using Kind = MetafileCanvas::Object::Kind;
    MetafileCanvas::Object o;
    const DWORD index = r.U32(8);
    switch (type) {
    case kCreatePen:
        if (!r.Has(8, 20))
            return;
        o.kind = Kind::Pen;
        o.pen.lopnStyle = r.U32(12);
        o.pen.lopnWidth = {r.S32(16), 0};
        o.pen.lopnColor = r.U32(24) & 0xFFFFFF;
        break;
    case kExtCreatePen:
        if (!r.Has(8, 36))
            return;
        o.kind = Kind::Pen;
        // Geometric pens keep their flag: wide, they draw their dashes.
        o.pen.lopnStyle = r.U32(28) & (PS_STYLE_MASK | kPsGeometric);
        // Cosmetic pens are one pixel wide whatever the mapping.
        o.pen.lopnWidth = {(r.U32(28) & kPsGeometric) ? LONG(r.U32(32) & 0x7FFFFFFF) : 0, 0};
        o.pen.lopnColor = r.U32(40) & 0xFFFFFF;
        if (r.U32(36) == BS_NULL)
            o.pen.lopnStyle = PS_NULL;
        break;
    case kCreateBrushIndirect:
        if (!r.Has(8, 16))
            return;
        o.kind = Kind::Brush;
        o.brush.lbStyle = r.U32(12);
        o.brush.lbColor = r.U32(16) & 0xFFFFFF;
        o.brush.lbHatch = r.S32(20);
        if (o.brush.lbStyle > BS_HATCHED)
            o.brush.lbStyle = BS_SOLID;
        break;
    case kCreateDibPatternBrushPt: {
        if (!r.Has(8, 24))
            return;
        o.kind = Kind::Brush;
        o.brush.lbStyle = BS_SOLID;
        o.brush.lbColor = RGB(128, 128, 128);
        const std::vector<BYTE> dib = PackedDib(r, 16);
        MetafileDib::Pattern(canvas_, dib, o);
        break;
    }
    case kExtCreateFontIndirectW: {
        if (!r.Has(12, 28))
            return;
        o.kind = Kind::Font;
        LOGFONT& f = o.font;
        f.lfHeight = r.S32(12);
        f.lfWidth = r.S32(16);
        f.lfEscapement = r.S32(20);
        f.lfOrientation = r.S32(24);
        f.lfWeight = r.S32(28);
        f.lfItalic = r.U8(32);
        f.lfUnderline = r.U8(33);
        f.lfStrikeOut = r.U8(34);
        f.lfCharSet = r.U8(35);
        f.lfPitchAndFamily = r.U8(39);
        std::span<const BYTE> face = r.Bytes(40, std::min<std::size_t>(64, r.Size() - 40));
        for (std::size_t i = 0; i + 1 < face.size(); i += 2) {
            if (face[i] == 0 && face[i + 1] == 0) {
                face = face.first(i);
                break;
            }
        }
        f.SetFaceName(Utf16LeToUtf8(face));
        break;
    }
    default:
        return;
    }
    canvas_.Store(index, o);
}

void EmfPlayer::Poly(DWORD type, const MetafileRecord& r) {
    const DWORD count = r.U32(24);
    const std::size_t step = Is16(type) ? 4 : 8;
    if (!r.Has(28, std::uint64_t{count} * step))
        return;
    std::vector<MetafileCanvas::Point> points;
    points.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        const std::size_t at = 28 + i * step;
        if (step == 4)
            points.push_back({double(r.S16(at)), double(r.S16(at + 2))});
        else
            points.push_back({double(r.S32(at)), double(r.S32(at + 4))});
    }
    switch (Is16(type) ? type - kPolyBezier16 + kPolyBezier : type) {
    case kPolyBezier:
        canvas_.PolyBezier(points);
        break;
    case kPolygon:
        canvas_.Polygon(points);
        break;
    case kPolyline:
        canvas_.Polyline(points);
        break;
    case kPolyBezierTo:
        canvas_.PolyBezierTo(points);
        break;
    case kPolylineTo:
        canvas_.PolylineTo(points);
        break;
    default:
        break;
    }
}

// Points with a type each: move, line, three of a Bézier, and lines that close the figure.
void EmfPlayer::PolyDraw(DWORD type, const MetafileRecord& r) {
    const std::uint64_t count = r.U32(24);
    const std::size_t step = type == kPolyDraw16 ? 4 : 8;
    if (!r.Has(28, count * (step + 1)))
        return;
    const std::size_t types = 28 + std::size_t(count) * step;
    auto point = [&](std::size_t i) -> MetafileCanvas::Point {
        const std::size_t at = 28 + i * step;
        if (step == 4)
            return {double(r.S16(at)), double(r.S16(at + 2))};
        return {double(r.S32(at)), double(r.S32(at + 4))};
    };
    MetafileCanvas::Point start = point(0);
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE kind = r.U8(types + i);
        const MetafileCanvas::Point p = point(i);
        switch (kind & ~kPtCloseFigure) {
        case kPtMoveTo:
            canvas_.MoveTo(p.x, p.y);
            start = p;
            break;
        case kPtLineTo:
            canvas_.LineTo(p.x, p.y);
            break;
        case kPtBezierTo:
            if (i + 2 < count) {
                canvas_.PolyBezierTo({p, point(i + 1), point(i + 2)});
                i += 2;
            }
            break;
        default:
            break;
        }
        if (r.U8(types + i) & kPtCloseFigure) {
            canvas_.LineTo(start.x, start.y);
            canvas_.CloseFigure();
        }
    }
}

// Corners with 16-bit colours, then rectangles (mode 0 across, 1 down) or triangles (2) as
// indices of corners.
void EmfPlayer::GradientFill(const MetafileRecord& r) {
    if (!r.Has(24, 12))
        return;
    const std::uint64_t corners = r.U32(24), shapes = r.U32(28);
    const DWORD mode = r.U32(32);
    const std::uint64_t each = mode == 2 ? 12 : 8;
    if (mode > 2 || !r.Has(36, corners * 16 + shapes * each))
        return;
    auto shade = [&](DWORD i) {
        const std::size_t at = 36 + std::size_t(i) * 16;
        return MetafileCanvas::Shade{{double(r.S32(at)), double(r.S32(at + 4))},
                                     r.U16(at + 8) / 256.0,
                                     r.U16(at + 10) / 256.0,
                                     r.U16(at + 12) / 256.0};
    };
    const std::size_t list = 36 + std::size_t(corners) * 16;
    for (std::size_t k = 0; k < shapes; ++k) {
        const std::size_t at = list + k * std::size_t(each);
        const DWORD i = r.U32(at), j = r.U32(at + 4), l = mode == 2 ? r.U32(at + 8) : 0;
        if (i >= corners || j >= corners || l >= corners)
            continue;
        if (mode == 2)
            canvas_.GradientTriangle(shade(i), shade(j), shade(l));
        else
            canvas_.GradientRect(shade(i), shade(j), mode == 1);
        if (canvas_.Exhausted())
            return;
    }
}

void EmfPlayer::PolyPoly(DWORD type, const MetafileRecord& r) {
    const DWORD polys = r.U32(24), total = r.U32(28);
    const std::size_t step = (type == kPolyPolyline16 || type == kPolyPolygon16) ? 4 : 8;
    const std::uint64_t pointsAt = 32 + std::uint64_t{polys} * 4;
    if (!r.Has(32, std::uint64_t{polys} * 4) || !r.Has(pointsAt, std::uint64_t{total} * step))
        return;
    std::vector<DWORD> counts(polys);
    std::uint64_t sum = 0;
    for (DWORD i = 0; i < polys; ++i) {
        counts[i] = r.U32(32 + std::size_t(i) * 4);
        sum += counts[i];
    }
    if (sum != total)
        return;
    std::vector<MetafileCanvas::Point> points;
    points.reserve(total);
    for (DWORD i = 0; i < total; ++i) {
        const std::size_t at = std::size_t(pointsAt) + i * step;
        if (step == 4)
            points.push_back({double(r.S16(at)), double(r.S16(at + 2))});
        else
            points.push_back({double(r.S32(at)), double(r.S32(at + 4))});
    }
    if (type == kPolyPolygon || type == kPolyPolygon16)
        canvas_.PolyPolygon(points, counts);
    else
        canvas_.PolyPolyline(points, counts);
}

void EmfPlayer::Text(DWORD type, const MetafileRecord& r) {
    switch (type) {
    case kExtTextOutA:
    case kExtTextOutW:
        TextAt(r, 36, type == kExtTextOutW);
        break;
    case kPolyTextOutA:
    case kPolyTextOutW:
        if (r.Has(36, 4)) {
            const std::uint64_t strings = r.U32(36);
            for (std::uint64_t i = 0; i < strings && r.Has(40 + i * 40, 40) && !canvas_.Exhausted();
                 ++i)
                TextAt(r, std::size_t(40 + i * 40), type == kPolyTextOutW);
        }
        break;
    case kSmallTextOut:
        if (r.Has(8, 28)) {
            const DWORD chars = r.U32(16), options = r.U32(20);
            const bool withBox = (options & kEtoNoRect) == 0;
            const bool narrow = (options & kEtoSmallChars) != 0;
            const std::size_t at = withBox ? 52 : 36;
            const RECT box{r.S32(36), r.S32(40), r.S32(44), r.S32(48)};
            const std::span<const BYTE> bytes =
                r.Bytes(at, std::uint64_t{chars} * (narrow ? 1 : 2));
            if ((chars == 0 || !bytes.empty()) && (!withBox || r.Has(36, 16)))
                Say(r.S32(8), r.S32(12), bytes, !narrow, withBox ? options : 0, box);
        }
        break;
    default:
        break;
    }
}

// The text of an EMRTEXT structure at `at`: reference point, count, string offset, options,
// rectangle.
void EmfPlayer::TextAt(const MetafileRecord& r, std::size_t at, bool wide) {
    if (!r.Has(at, 36))
        return;
    const DWORD chars = r.U32(at + 8), offString = r.U32(at + 12), options = r.U32(at + 16);
    const RECT box{r.S32(at + 20), r.S32(at + 24), r.S32(at + 28), r.S32(at + 32)};
    const std::span<const BYTE> bytes = r.Bytes(offString, std::uint64_t{chars} * (wide ? 2 : 1));
    if (chars != 0 && bytes.empty())
        return;
    Say(r.S32(at), r.S32(at + 4), bytes, wide, options, box);
}

void EmfPlayer::Say(double x, double y, std::span<const BYTE> bytes, bool wide, DWORD options,
                    const RECT& box) {
    const std::string text =
        wide ? Utf16LeToUtf8(bytes)
             : Cp1252ToUtf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    const bool opaque = (options & kEtoOpaque) && box.right > box.left && box.bottom > box.top;
    canvas_.Text(x, y, text, opaque ? &box : nullptr);
}

void EmfPlayer::Blit(DWORD type, const MetafileRecord& r) {
    LONG xd = 0, yd = 0, wd = 0, hd = 0, xs = 0, ys = 0, ws = 0, hs = 0;
    DWORD rop = kSrcCopy;
    std::size_t dibFields = 0;
    bool fromBottom = false;
    switch (type) {
    case kBitBlt:
    case kStretchBlt:
    case kAlphaBlend:
    case kTransparentBlt:
        if (!r.Has(8, type == kBitBlt ? 92 : 100))
            return;
        xd = r.S32(24), yd = r.S32(28), wd = r.S32(32), hd = r.S32(36), rop = r.U32(40);
        xs = r.S32(44), ys = r.S32(48);
        ws = type == kBitBlt ? wd : r.S32(100);
        hs = type == kBitBlt ? hd : r.S32(104);
        dibFields = 84;
        if (r.U32(88) == 0) { // no source: a pattern operation
            canvas_.PatBlt(xd, yd, wd, hd, rop);
            return;
        }
        break;
    case kStretchDiBits:
        if (!r.Has(8, 72))
            return;
        xd = r.S32(24), yd = r.S32(28), xs = r.S32(32), ys = r.S32(36), ws = r.S32(40);
        hs = r.S32(44), rop = r.U32(68), wd = r.S32(72), hd = r.S32(76);
        dibFields = 48, fromBottom = true;
        break;
    case kSetDiBitsToDevice:
        if (!r.Has(8, 68))
            return;
        xd = r.S32(24), yd = r.S32(28), xs = r.S32(32), ys = r.S32(36), ws = wd = r.S32(40);
        hs = hd = r.S32(44);
        dibFields = 48, fromBottom = true;
        break;
    default:
        return;
    }
    const std::vector<BYTE> dib = PackedDib(r, dibFields);
    CRaster picture;
    MetafileCanvas::BlitMix how = How(type, rop);
    const bool ownOpacity = type == kAlphaBlend && (rop >> 24) == 1;
    // Its colours and opacity are split into two more pictures of its size.
    if (!MetafileDib::Picture(canvas_, dib, xs, ys, ws, hs, fromBottom, picture,
                              ownOpacity ? 3 : 1))
        return;
    // Opacity of its own (the blend function's alpha format) in a 32-bit picture.
    CRaster colour, opacity;
    if (ownOpacity && MetafileDib::SplitOpacity(dib, xs, ys, ws, hs, fromBottom, colour, opacity)) {
        picture = colour;
        how.opacity = &opacity;
    }
    canvas_.Blit(picture, xd, yd, wd, hd, how);
}
