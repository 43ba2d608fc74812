#include "image/metafile/WmfPlayer.h"

#include "image/core/CRaster.h"
#include "image/metafile/MetafileCanvas.h"
#include "image/metafile/MetafileDib.h"
#include "image/metafile/MetafileRecord.h"
#include "platform/GdiConstants.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <cstring>

namespace {

// Record functions.
enum : WORD {
    kEof = 0x0000,
    kSaveDc = 0x001E,
    kRealizePalette = 0x0035,
    kCreatePalette = 0x00F7,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetRop2 = 0x0104,
    kSetPolyFillMode = 0x0106,
    kRestoreDc = 0x0127,
    kInvertRegion = 0x012A,
    kPaintRegion = 0x012B,
    kSelectClipRegion = 0x012C,
    kFillRegion = 0x0228,
    kFrameRegion = 0x0429,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kDibCreatePatternBrush = 0x0142,
    kDeleteObject = 0x01F0,
    kCreatePatternBrush = 0x01F9,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetViewportOrg = 0x020D,
    kSetViewportExt = 0x020E,
    kOffsetWindowOrg = 0x020F,
    kOffsetViewportOrg = 0x0211,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kScaleWindowExt = 0x0410,
    kScaleViewportExt = 0x0412,
    kExcludeClipRect = 0x0415,
    kIntersectClipRect = 0x0416,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kSetPixel = 0x041F,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kRoundRect = 0x061C,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kBitBlt = 0x0922,
    kStretchBlt = 0x0B23,
    kPatBlt = 0x061D,
    kCreateRegion = 0x06FF,
    kDibBitBlt = 0x0940,
    kExtTextOut = 0x0A32,
    kDibStretchBlt = 0x0B41,
    kSetDibToDev = 0x0D33,
    kStretchDib = 0x0F43,
};

constexpr std::size_t kParams = 6; // size (4 bytes) and function (2) come first
constexpr DWORD kSrcCopy = 0x00CC0020;
constexpr WORD kEtoOpaque = 0x0002, kEtoClipped = 0x0004;

std::size_t Word(std::size_t k) {
    return kParams + 2 * k;
}

// Parameter words after the fixed fields.
std::size_t WordsAfter(const MetafileRecord& r, std::size_t k) {
    return r.Size() > Word(k) ? (r.Size() - Word(k)) / 2 : 0;
}

} // namespace

WmfPlayer::Result WmfPlayer::Play(std::span<const BYTE> records) {
    std::size_t at = 0;
    while (at < records.size()) {
        if (stop_(at, records.size()))
            return Result::Cancelled;
        if (records.size() - at < 6)
            return Result::Corrupt;
        const std::uint64_t words = GetLittleEndian<DWORD>(&records[at]);
        if (words < 3 || words * 2 > records.size() - at)
            return Result::Corrupt;
        const MetafileRecord r(records.subspan(at, std::size_t(words * 2)));
        const WORD function = r.U16(4);
        if (function == kEof)
            return Result::Done;
        Record(function, r);
        if (canvas_.Cancelled())
            return Result::Cancelled;
        if (canvas_.Exhausted())
            return Result::CutShort;
        at += std::size_t(words * 2);
    }
    return Result::Done;
}

void WmfPlayer::Record(WORD function, const MetafileRecord& r) {
    MetafileCanvas& c = canvas_;
    auto s = [&](std::size_t k) { return double(r.S16(Word(k))); };
    auto has = [&](std::size_t words) { return r.Has(kParams, 2 * words); };
    switch (function) {
    case kSaveDc:
        c.SaveDC();
        break;
    case kRestoreDc:
        if (has(1))
            c.RestoreDC(r.S16(Word(0)));
        break;
    case kSetBkMode:
        if (has(1))
            c.SetBkMode(r.U16(Word(0)));
        break;
    case kSetMapMode:
        if (has(1))
            c.Mapping().SetMapMode(r.U16(Word(0)));
        break;
    case kSetRop2:
        if (has(1))
            c.SetRop2(r.U16(Word(0)));
        break;
    case kSetPolyFillMode:
        if (has(1))
            c.SetPolyFillMode(r.U16(Word(0)));
        break;
    case kSetTextAlign:
        if (has(1))
            c.SetTextAlign(r.U16(Word(0)));
        break;
    case kSetBkColor:
        if (has(2))
            c.SetBkColor(r.U32(Word(0)));
        break;
    case kSetTextColor:
        if (has(2))
            c.SetTextColor(r.U32(Word(0)));
        break;
    // Points and sizes come y first.
    case kSetWindowOrg:
        if (has(2))
            c.Mapping().SetWindowOrg(s(1), s(0));
        break;
    case kSetWindowExt:
        if (has(2))
            c.Mapping().SetWindowExt(s(1), s(0));
        break;
    case kSetViewportOrg:
        if (has(2))
            c.Mapping().SetViewportOrg(s(1), s(0));
        break;
    case kSetViewportExt:
        if (has(2))
            c.Mapping().SetViewportExt(s(1), s(0));
        break;
    case kOffsetWindowOrg:
        if (has(2))
            c.Mapping().OffsetWindowOrg(s(1), s(0));
        break;
    case kOffsetViewportOrg:
        if (has(2))
            c.Mapping().OffsetViewportOrg(s(1), s(0));
        break;
    case kScaleWindowExt:
        if (has(4))
            c.Mapping().ScaleWindowExt(s(3), s(2), s(1), s(0));
        break;
    case kScaleViewportExt:
        if (has(4))
            c.Mapping().ScaleViewportExt(s(3), s(2), s(1), s(0));
        break;
    case kMoveTo:
        if (has(2))
            c.MoveTo(s(1), s(0));
        break;
    case kLineTo:
        if (has(2))
            c.LineTo(s(1), s(0));
        break;
    case kIntersectClipRect:
        if (has(4))
            c.IntersectClipRect(s(3), s(2), s(1), s(0));
        break;
    case kExcludeClipRect:
        if (has(4))
            c.ExcludeClipRect(s(3), s(2), s(1), s(0));
        break;
    case kSelectClipRegion:
        if (has(1))
            c.SelectClipRegion(r.U16(Word(0)));
        break;
    case kInvertRegion:
    case kPaintRegion:
        if (has(1))
            c.FillRegionObject(r.U16(Word(0)), function == kInvertRegion ? DSTINVERT : PATCOPY);
        break;
    case kFillRegion:
        if (has(2)) {
            c.SaveDC();               // keeps the brush
            c.Select(r.U16(Word(1))); // region, then brush
            c.FillRegionObject(r.U16(Word(0)), PATCOPY);
            c.RestoreDC(-1);
        }
        break;
    case kFrameRegion:
        if (has(4)) {
            c.SaveDC();
            c.Select(r.U16(Word(1))); // region, brush, height, width
            c.FrameRegionObject(r.U16(Word(0)), s(3), s(2));
            c.RestoreDC(-1);
        }
        break;
    case kRectangle:
        if (has(4))
            c.Rectangle(s(3), s(2), s(1), s(0));
        break;
    case kEllipse:
        if (has(4))
            c.Ellipse(s(3), s(2), s(1), s(0));
        break;
    case kArc:
    case kPie:
    case kChord:
        if (has(8)) {
            using Kind = MetafileCanvas::ArcKind;
            const Kind kind = function == kArc   ? Kind::Arc
                              : function == kPie ? Kind::Pie
                                                 : Kind::Chord;
            c.Arc(kind, s(7), s(6), s(5), s(4), {s(3), s(2)}, {s(1), s(0)});
        }
        break;
    case kRoundRect:
        if (has(6))
            c.RoundRect(s(5), s(4), s(3), s(2), s(1), s(0));
        break;
    case kSetPixel:
        if (has(4))
            c.SetPixel(s(3), s(2), r.U32(Word(0)));
        break;
    case kSelectObject:
        if (has(1))
            c.Select(r.U16(Word(0)));
        break;
    case kDeleteObject:
        if (has(1))
            c.Delete(r.U16(Word(0)));
        break;
    case kPolygon:
    case kPolyline:
    case kPolyPolygon:
        Poly(function, r);
        break;
    case kTextOut:
    case kExtTextOut:
        Text(function, r);
        break;
    case kPatBlt:
    case kBitBlt:
    case kStretchBlt:
    case kDibBitBlt:
    case kDibStretchBlt:
    case kStretchDib:
    case kSetDibToDev:
        Blit(function, r);
        break;
    case kCreatePenIndirect:
    case kCreateBrushIndirect:
    case kCreateFontIndirect:
    case kCreatePalette:
    case kCreateRegion:
    case kCreatePatternBrush:
    case kDibCreatePatternBrush:
        CreateObject(function, r);
        break;
    default:
        break; // records that change nothing we draw
    }
}

// New objects take the lowest free slot, whatever they are, so that later indices match.
void WmfPlayer::CreateObject(WORD function, const MetafileRecord& r) {
    using Kind = MetafileCanvas::Object::Kind;
    MetafileCanvas::Object o;
    o.kind = Kind::Other;
    switch (function) {
    case kCreatePenIndirect:
        if (!r.Has(kParams, 10))
            return;
        o.kind = Kind::Pen;
        o.pen.lopnStyle = r.U16(Word(0));
        o.pen.lopnWidth = {r.S16(Word(1)), 0};
        o.pen.lopnColor = r.U32(Word(3)) & 0xFFFFFF;
        break;
    case kCreateBrushIndirect:
        if (!r.Has(kParams, 8))
            return;
        o.kind = Kind::Brush;
        o.brush.lbStyle = r.U16(Word(0));
        o.brush.lbColor = r.U32(Word(1)) & 0xFFFFFF;
        o.brush.lbHatch = r.U16(Word(3));
        if (o.brush.lbStyle > BS_HATCHED)
            o.brush.lbStyle = BS_SOLID; // patterns without their bitmap
        break;
    case kDibCreatePatternBrush:
        o.kind = Kind::Brush;
        o.brush.lbStyle = BS_SOLID;
        o.brush.lbColor = RGB(128, 128, 128);
        MetafileDib::Pattern(canvas_, r.Bytes(Word(2), r.Size() - std::min(r.Size(), Word(2))), o);
        break;
    case kCreateRegion: {
        // Scans of rows: count of x values, top, bottom, pairs of left and right, the count.
        o.kind = Kind::Region;
        std::size_t at = Word(11);
        const WORD scans = r.U16(Word(5));
        for (WORD i = 0; i < scans && r.Has(at, 6); ++i) {
            const WORD xs = r.U16(at);
            const LONG top = r.S16(at + 2), bottom = r.S16(at + 4);
            if (!r.Has(at + 6, std::uint64_t(xs) * 2 + 2))
                break;
            for (WORD k = 0; k + 1 < xs; k += 2)
                o.region.push_back(
                    {LONG(r.S16(at + 6 + 2 * k)), top, LONG(r.S16(at + 8 + 2 * k)), bottom});
            at += 8 + std::size_t(xs) * 2;
        }
        break;
    }
    case kCreatePatternBrush: {
        // A device-dependent bitmap's header, 18 reserved bytes, then its bits.
        o.kind = Kind::Brush;
        o.brush.lbStyle = BS_SOLID;
        o.brush.lbColor = RGB(128, 128, 128);
        const std::span<const BYTE> all = r.Bytes(Word(0), r.Size() - std::min(r.Size(), Word(0)));
        if (all.size() > 28) {
            std::vector<BYTE> bitmap(all.begin(), all.begin() + 10);
            bitmap.insert(bitmap.end(), all.begin() + 28, all.end());
            MetafileDib::Pattern(
                canvas_, MetafileDib::FromBitmap16(bitmap, canvas_.TextColor(), canvas_.BkColor()),
                o);
        }
        break;
    }
    case kCreateFontIndirect: {
        if (!r.Has(kParams, 18))
            return;
        o.kind = Kind::Font;
        LOGFONT& f = o.font;
        f.lfHeight = r.S16(Word(0));
        f.lfWidth = r.S16(Word(1));
        f.lfEscapement = r.S16(Word(2));
        f.lfOrientation = r.S16(Word(3));
        f.lfWeight = r.S16(Word(4));
        f.lfItalic = r.U8(Word(5));
        f.lfUnderline = r.U8(Word(5) + 1);
        f.lfStrikeOut = r.U8(Word(6));
        f.lfCharSet = r.U8(Word(6) + 1);
        f.lfPitchAndFamily = r.U8(Word(8) + 1);
        const std::span<const BYTE> face =
            r.Bytes(Word(9), std::min<std::size_t>(LF_FACESIZE - 1, r.Size() - Word(9)));
        const std::size_t n = std::find(face.begin(), face.end(), 0) - face.begin();
        std::memcpy(f.lfFaceName, face.data(), n);
        break;
    }
    default:
        break;
    }
    canvas_.Store(canvas_.FirstFree(), o);
}

void WmfPlayer::Poly(WORD function, const MetafileRecord& r) {
    std::vector<MetafileCanvas::Point> points;
    std::vector<DWORD> counts;
    std::size_t first = 1; // word of the first point
    std::uint64_t total = 0;
    const WORD n = r.U16(Word(0));
    if (function == kPolyPolygon) {
        first = 1 + std::size_t(n);
        for (WORD i = 0; i < n; ++i) {
            counts.push_back(r.U16(Word(1 + i)));
            total += counts.back();
        }
    } else {
        total = n;
    }
    if (!r.Has(Word(first), total * 4))
        return;
    points.reserve(std::size_t(total));
    for (std::uint64_t i = 0; i < total; ++i)
        points.push_back(
            {double(r.S16(Word(first + 2 * i))), double(r.S16(Word(first + 2 * i + 1)))});
    if (function == kPolyline)
        canvas_.Polyline(points);
    else if (function == kPolygon)
        canvas_.Polygon(points);
    else
        canvas_.PolyPolygon(points, counts);
}

void WmfPlayer::Text(WORD function, const MetafileRecord& r) {
    if (function == kTextOut) {
        const WORD n = r.U16(Word(0));
        const std::size_t after = 1 + (std::size_t(n) + 1) / 2;
        if (!r.Has(Word(after), 4))
            return;
        const std::span<const BYTE> text = r.Bytes(Word(1), n);
        canvas_.Text(r.S16(Word(after + 1)), r.S16(Word(after)),
                     Cp1252ToUtf8({reinterpret_cast<const char*>(text.data()), text.size()}));
        return;
    }
    if (!r.Has(kParams, 8))
        return;
    const double y = r.S16(Word(0)), x = r.S16(Word(1));
    const WORD n = r.U16(Word(2)), options = r.U16(Word(3));
    std::size_t at = 4;
    RECT box{};
    const bool withBox = (options & (kEtoOpaque | kEtoClipped)) != 0;
    if (withBox) {
        box = {r.S16(Word(4)), r.S16(Word(5)), r.S16(Word(6)), r.S16(Word(7))};
        at = 8;
    }
    const std::span<const BYTE> text = r.Bytes(Word(at), n);
    if (text.size() != n)
        return;
    canvas_.Text(x, y, Cp1252ToUtf8({reinterpret_cast<const char*>(text.data()), text.size()}),
                 withBox && (options & kEtoOpaque) ? &box : nullptr);
}

void WmfPlayer::Blit(WORD function, const MetafileRecord& r) {
    auto s = [&](std::size_t k) { return LONG(r.S16(Word(k))); };
    const DWORD rop = r.U32(Word(0));
    std::size_t dib = 0; // first word of the bitmap, 0 when there is none
    LONG xs = 0, ys = 0, ws = 0, hs = 0, xd = 0, yd = 0, wd = 0, hd = 0;
    bool fromBottom = false;
    switch (function) {
    case kPatBlt:
        if (!r.Has(kParams, 12))
            return;
        canvas_.PatBlt(s(5), s(4), s(3), s(2), rop);
        return;
    case kBitBlt:
    case kDibBitBlt:
        if (WordsAfter(r, 0) <= 9) { // no bitmap: a reserved word, then the pattern blit
            if (r.Has(kParams, 18))
                canvas_.PatBlt(s(8), s(7), s(6), s(5), rop);
            return;
        }
        ys = s(2), xs = s(3), hs = hd = s(4), ws = wd = s(5), yd = s(6), xd = s(7), dib = 8;
        break;
    case kStretchBlt:
    case kDibStretchBlt:
        if (WordsAfter(r, 0) <= 11) {
            if (r.Has(kParams, 20))
                canvas_.PatBlt(s(9), s(8), s(7), s(6), rop);
            return;
        }
        hs = s(2), ws = s(3), ys = s(4), xs = s(5), hd = s(6), wd = s(7), yd = s(8), xd = s(9);
        dib = 10;
        break;
    case kStretchDib:
        hs = s(3), ws = s(4), ys = s(5), xs = s(6), hd = s(7), wd = s(8), yd = s(9), xd = s(10);
        dib = 11, fromBottom = true;
        break;
    case kSetDibToDev: // no raster operation: a plain copy
        hs = hd = s(5), ws = wd = s(6), ys = s(3), xs = s(4), yd = s(7), xd = s(8);
        dib = 9, fromBottom = true;
        break;
    default:
        return;
    }
    if (r.Size() <= Word(dib))
        return;
    std::span<const BYTE> bits = r.Bytes(Word(dib), r.Size() - Word(dib));
    std::vector<BYTE> converted;
    if (function == kBitBlt || function == kStretchBlt) {
        // Monochrome bitmaps take the text colour for 0 and the background colour for 1.
        converted = MetafileDib::FromBitmap16(bits, canvas_.TextColor(), canvas_.BkColor());
        bits = converted;
    }
    CRaster picture;
    if (!MetafileDib::Picture(canvas_, bits, xs, ys, ws, hs, fromBottom, picture))
        return;
    canvas_.Blit(picture, xd, yd, wd, hd,
                 {MetafileCanvas::BlitMix::Kind::Rop, function == kSetDibToDev ? kSrcCopy : rop});
}
