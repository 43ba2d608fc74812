#include "document/CLogicalRectTracker.h"

#include "document/PictureAllowance.h"

#include "image/codecs/CRasterFormats.h"
#include "image/core/CRaster.h"
#include "platform/CDC.h"

#include <array>
#include <vector>

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

CLogicalRectTracker::CLogicalRectTracker() = default;
CLogicalRectTracker::~CLogicalRectTracker() = default;
CLogicalRectTracker::CLogicalRectTracker(CLogicalRectTracker&&) noexcept = default;
CLogicalRectTracker& CLogicalRectTracker::operator=(CLogicalRectTracker&&) noexcept = default;

CLogicalRectTracker::CLogicalRectTracker(const CLogicalRectTracker& other) = default;
CLogicalRectTracker& CLogicalRectTracker::operator=(const CLogicalRectTracker& other) = default;

void CLogicalRectTracker::SetImage(std::shared_ptr<const CRaster> picture, int kind,
                                   std::shared_ptr<const std::vector<BYTE>> encoded) {
    picture_ = std::move(picture);
    encoded_ = picture_ && encoded && !encoded->empty() ? std::move(encoded) : nullptr;
    kind_ = kind;
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

void CLogicalRectTracker::Draw(CDC& dc) {
    if (IsText())
        DrawText(dc);
    else if (kind_ == kindPicture && picture_)
        picture_->DrawLogicalRect(dc, logicalRect_);
    if (selectionStyle_ == 0)
        return;
    m_nStyle = selectionStyle_ == 1   ? (dottedLine | resizeInside)
               : selectionStyle_ == 2 ? (solidLine | resizeOutside)
                                      : (resizeInside | hatchInside);
    CRectTracker::Draw(dc);
}

CoordinateMapping CLogicalRectTracker::ScreenMapping() {
    CoordinateMapping screen(96, 96);
    screen.SetMapMode(MM_HIENGLISH);
    return screen;
}

LONG CLogicalRectTracker::LogicalTextHeight(int pointTenths) {
    // 1000 / 720 of a logical unit per tenth of a point.
    return MulDiv(pointTenths, 1000, 720);
}

void CLogicalRectTracker::DrawText(CDC& dc) {
    const int oldMode = dc.SetBkMode(kind_ == kindTextTransparent ? TRANSPARENT : OPAQUE);
    const COLORREF oldColor = dc.SetTextColor(textColor_);
    CFont font;
    CFont* oldFont = nullptr;
    if (font_) {
        font_->log.lfHeight = -LogicalTextHeight(font_->choose.iPointSize);
        if (font.CreateFontIndirect(&font_->log))
            oldFont = dc.SelectObject(&font);
    }
    CRect r = logicalRect_;
    dc.DrawText(text_, &r, DT_WORDBREAK | DT_EDITCONTROL, ScreenMapping());
    if (oldFont)
        dc.SelectObject(oldFont);
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
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
    PictureAllowance pictures;
    Load(ar, pictures);
}

void CLogicalRectTracker::Load(CArchive& ar, PictureAllowance& pictures) {
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
    LoadContent(ar, pictures);
}

void CLogicalRectTracker::StoreContent(CArchive& ar) const {
    if (IsText())
        StoreFont(ar);
    else if (kind_ == kindPicture)
        StorePicture(ar);
}

void CLogicalRectTracker::LoadContent(CArchive& ar, PictureAllowance& pictures) {
    font_.reset();
    picture_.reset();
    encoded_.reset();
    if (IsText())
        LoadFont(ar);
    else if (kind_ == kindPicture)
        LoadPicture(ar, pictures);
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

namespace {

// Bytes kept from a file go back as they came only in a type the program itself writes, so
// that every document keeps to the types it has always held.
bool KeepsItsBytes(DWORD type) {
    const CRasterFormats::Entry* format = CRasterFormats::Find(type);
    return format && format->writable;
}

} // namespace

void CLogicalRectTracker::StorePicture(CArchive& ar) const {
    std::vector<BYTE> bytes;
    DWORD type = picture_ ? picture_->GetType() : CRaster::kTypeUnknown;
    if (picture_ && picture_->IsValid() && encoded_ && KeepsItsBytes(type)) {
        bytes = *encoded_;
    } else if (picture_ && picture_->IsValid()) {
        // Encoders may adjust the image they write; the shared picture must not change, so
        // they work on a copy.
        CRaster working(*picture_);
        // A picture whose own type has no encoder (a pasted picture, a metafile) goes in as
        // PNG, so that saving never drops it.
        if (CRaster::GetTypeIndex(type) == CRaster::kTypeUnknown ||
            !working.EncodeToMemory(bytes, type)) {
            bytes.clear();
            type = CRaster::kTypePng;
            CRaster again(*picture_);
            if (!again.EncodeToMemory(bytes, type))
                bytes.clear();
        }
    }
    const bool hasAlpha = picture_ && picture_->IsAlphaValid() && !bytes.empty();
    ar << std::int32_t(hasAlpha ? 1 : 0) << BYTE(hasAlpha ? picture_->GetAlpha(0, 0) : 0)
       << static_cast<std::int32_t>(type) << static_cast<std::int32_t>(bytes.size());
    ar.WriteBytes(bytes.data(), bytes.size());
}

void CLogicalRectTracker::LoadPicture(CArchive& ar, PictureAllowance& pictures) {
    std::int32_t hasAlpha = 0, type = 0, count = 0;
    BYTE alpha = 0;
    ar >> hasAlpha >> alpha >> type >> count;
    if (ar.Failed())
        return;
    if (count < 0 || !ar.CanRead(static_cast<std::uint64_t>(count))) {
        ar.Fail("A picture holds more bytes than the file");
        return;
    }
    std::vector<BYTE> bytes = ar.ReadByteVector(static_cast<std::uint64_t>(count));
    // An empty picture was saved without bytes and comes back empty.
    auto picture = std::make_unique<CRaster>(static_cast<DWORD>(type));
    if (count > 0) {
        picture->Info().decode = pictures.Next();
        if (!picture->DecodeFromMemory(bytes, static_cast<DWORD>(type))) {
            ar.Fail(picture->WasCancelled()
                        ? std::string(CRaster::kCancelled)
                        : "A picture cannot be read: " + pictures.Refusal(picture->GetLastError()));
            return;
        }
        picture->Info().decode = DecodeOptions{};
        if (!pictures.Take(*picture)) {
            ar.Fail("A picture cannot be read: " + pictures.TotalPassedMessage());
            return;
        }
        // The stored level stands for a plane the format could not carry; a picture that
        // decoded its own alpha keeps it.
        if (hasAlpha && !picture->IsAlphaValid() && picture->CreateAlpha())
            picture->SetAlphaLevel(alpha);
    }
    if (count > 0)
        encoded_ = std::make_shared<const std::vector<BYTE>>(std::move(bytes));
    picture_ = std::move(picture);
}
