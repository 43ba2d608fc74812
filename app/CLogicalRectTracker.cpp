#include "app/CLogicalRectTracker.h"

#include <array>

namespace {

constexpr double kRecordVersion = 1.0;
constexpr const char* kRecordTag = "NONE;";

template <std::size_t N> void StoreBlock(CArchive& ar, const std::array<BYTE, N>& bytes) {
    ar << static_cast<std::int32_t>(N);
    ar.WriteBytes(bytes.data(), N);
}

// A block count other than the layout's size is refused rather than cut or padded: such a
// record was not written by this program's format.
template <std::size_t N> std::array<BYTE, N> LoadBlock(CArchive& ar) {
    std::array<BYTE, N> bytes{};
    std::int32_t count = 0;
    ar >> count;
    if (ar.Failed())
        return bytes;
    if (count != static_cast<std::int32_t>(N)) {
        ar.Fail("Bad font block size in a layer object");
        return bytes;
    }
    ar.ReadBytes(bytes.data(), N);
    return bytes;
}

// Coordinates of a real page stay far inside this; larger ones would overflow the tracker's
// arithmetic.
constexpr LONG kCoordinateLimit = 1 << 28;
constexpr int kHandleLimit = 256;

bool InLimit(LONG v) {
    return v > -kCoordinateLimit && v < kCoordinateLimit;
}
bool InLimit(const RECT& r) {
    return InLimit(r.left) && InLimit(r.top) && InLimit(r.right) && InLimit(r.bottom);
}

} // namespace

bool CLogicalRectTracker::HasSaneGeometry() const {
    return InLimit(m_rect) && InLimit(logicalRect_) && m_nHandleSize >= 0 &&
           m_nHandleSize <= kHandleLimit && m_sizeMin.cx >= 0 && m_sizeMin.cy >= 0 &&
           InLimit(m_sizeMin.cx) && InLimit(m_sizeMin.cy);
}

int CLogicalRectTracker::HitTestLogical(int x, int y, int sx, int sy) const {
    return HitTest(CPoint(x + sx, y + sy));
}

CRectTracker::Cursor CLogicalRectTracker::GetCursorLogical(int x, int y, int sx, int sy) const {
    return GetCursor(HitTestLogical(x, y, sx, sy));
}

bool CLogicalRectTracker::BeginTrackLogical(int x, int y, int sx, int sy, bool allowInvert) {
    const CPoint p(x + sx, y + sy);
    return BeginTrack(p, HitTest(p), allowInvert);
}

void CLogicalRectTracker::TrackToLogical(int x, int y, int sx, int sy) {
    TrackTo(CPoint(x + sx, y + sy));
}

void CLogicalRectTracker::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

void CLogicalRectTracker::Store(CArchive& ar) const {
    ar << kRecordVersion << std::string(kRecordTag) << std::int32_t(kind_)
       << std::int32_t(selectionStyle_) << static_cast<const RECT&>(logicalRect_)
       << std::int32_t(m_nHandleSize) << static_cast<std::int32_t>(m_nStyle);
    ar << m_rect.bottom << m_rect.left << m_rect.right << m_rect.top;
    ar << m_sizeMin.cx << m_sizeMin.cy << textColor_ << std::int32_t(layer_) << text_;
    StoreContent(ar);
}

void CLogicalRectTracker::Load(CArchive& ar) {
    double version = 0;
    std::string tag;
    std::int32_t kind = 0, selection = 0, handle = 0, style = 0, layer = 0;
    RECT logical;
    ar >> version >> tag >> kind >> selection >> logical >> handle >> style;
    ar >> m_rect.bottom >> m_rect.left >> m_rect.right >> m_rect.top;
    ar >> m_sizeMin.cx >> m_sizeMin.cy >> textColor_ >> layer >> text_;
    kind_ = kind;
    selectionStyle_ = selection;
    logicalRect_ = logical;
    m_nHandleSize = handle;
    m_nStyle = static_cast<UINT>(style);
    layer_ = layer;
    if (!ar.Failed() && !HasSaneGeometry()) {
        ar.Fail("A layer object lies far outside any page");
        return;
    }
    LoadContent(ar);
}

void CLogicalRectTracker::StoreContent(CArchive& ar) const {
    if (IsText())
        StoreFont(ar);
}

void CLogicalRectTracker::LoadContent(CArchive& ar) {
    font_.reset();
    if (IsText())
        LoadFont(ar);
}

void CLogicalRectTracker::StoreFont(CArchive& ar) const {
    // A text object always records a font; one that never had a font chosen records blank
    // blocks so that the record keeps its layout.
    const Font font = font_.value_or(Font{});
    StoreBlock(ar, font.choose.ToBytes());
    StoreBlock(ar, font.log.ToBytes());
}

void CLogicalRectTracker::LoadFont(CArchive& ar) {
    const auto choose = LoadBlock<CHOOSEFONT::kBytes>(ar);
    const auto log = LoadBlock<LOGFONT::kBytes>(ar);
    if (ar.Failed())
        return;
    font_ = Font{CHOOSEFONT::FromBytes(choose), LOGFONT::FromBytes(log)};
}
