#include "image/codecs/CRasterWMF.h"

#include "image/core/CRasterFile.h"
#include "image/metafile/EmfPlayer.h"
#include "image/metafile/EmfRecordTypes.h"
#include "image/metafile/MetafileCanvas.h"
#include "image/metafile/WmfPlayer.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableBytes = 22;
constexpr std::size_t kStandardHeaderBytes = 18;
constexpr std::size_t kEnhancedHeaderBytes = 88;
constexpr int kScreenDpi = 96;

LONG S16(const BYTE* p) {
    return static_cast<short>(GetLittleEndian<WORD>(p));
}

LONG S32(const BYTE* p) {
    return static_cast<LONG>(GetLittleEndian<DWORD>(p));
}

} // namespace

bool CRasterWMF::ReadPlaceable(std::span<const BYTE> data, Layout& layout) {
    if (data.size() < kPlaceableBytes + kStandardHeaderBytes)
        return false;
    const BYTE* p = data.data();
    if (GetLittleEndian<DWORD>(p) != kPlaceableKey)
        return false;
    WORD sum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        sum ^= GetLittleEndian<WORD>(p + i);
    if (sum != GetLittleEndian<WORD>(p + 20))
        return false;
    layout.left = S16(p + 6);
    layout.top = S16(p + 8);
    layout.right = S16(p + 10);
    layout.bottom = S16(p + 12);
    layout.unitsPerInch = GetLittleEndian<WORD>(p + 14);
    if (layout.unitsPerInch < 1 || layout.unitsPerInch > 2540)
        return false;
    const BYTE* h = p + kPlaceableBytes;
    const WORD type = GetLittleEndian<WORD>(h), headerWords = GetLittleEndian<WORD>(h + 2);
    const std::uint64_t words = GetLittleEndian<DWORD>(h + 6);
    const std::uint64_t available = data.size() - kPlaceableBytes;
    if ((type != 1 && type != 2) || headerWords < 9 || words * 2 > available ||
        headerWords * 2ull > words * 2)
        return false;
    layout.enhanced = false;
    layout.handles = GetLittleEndian<WORD>(h + 10);
    layout.records = data.subspan(kPlaceableBytes + headerWords * 2ull,
                                  std::size_t(words * 2 - headerWords * 2ull));
    const std::int64_t inch = layout.unitsPerInch;
    layout.width = ((std::int64_t{layout.right} - layout.left) * kScreenDpi + inch / 2) / inch;
    layout.height = ((std::int64_t{layout.bottom} - layout.top) * kScreenDpi + inch / 2) / inch;
    return true;
}

bool CRasterWMF::ReadEnhanced(std::span<const BYTE> data, Layout& layout) {
    if (data.size() < kEnhancedHeaderBytes)
        return false;
    const BYTE* p = data.data();
    const DWORD headerSize = GetLittleEndian<DWORD>(p + 4);
    if (GetLittleEndian<DWORD>(p) != 1 ||
        GetLittleEndian<DWORD>(p + 40) != EmfRecordType::kSignature ||
        headerSize < kEnhancedHeaderBytes || headerSize > data.size())
        return false;
    layout.enhanced = true;
    layout.left = S32(p + 8);
    layout.top = S32(p + 12);
    layout.right = S32(p + 16);
    layout.bottom = S32(p + 20);
    layout.handles = GetLittleEndian<WORD>(p + 56);
    const LONG devX = S32(p + 72), devY = S32(p + 76), mmX = S32(p + 80), mmY = S32(p + 84);
    layout.pxPerMmX = devX > 0 && mmX > 0 ? double(devX) / mmX : kScreenDpi / 25.4;
    layout.pxPerMmY = devY > 0 && mmY > 0 ? double(devY) / mmY : kScreenDpi / 25.4;
    layout.records = data;
    layout.width = std::int64_t{layout.right} - layout.left;
    layout.height = std::int64_t{layout.bottom} - layout.top;
    return true;
}

void CRasterWMF::ShrinkToLimit(std::int64_t& width, std::int64_t& height) {
    if (width > kMaxSide) {
        height = height * kMaxSide / width;
        width = kMaxSide;
    }
    if (height > kMaxSide) {
        width = width * kMaxSide / height;
        height = kMaxSide;
    }
    width = std::max<std::int64_t>(width, 1);
    height = std::max<std::int64_t>(height, 1);
}

bool CRasterWMF::Decode(CRasterFile& file, LONG forcedWidth, LONG forcedHeight,
                        const DecodeOptions& options) {
    std::vector<BYTE> data(static_cast<std::size_t>(BytesLeft(file)));
    // Named by what the file claims to be, so that a broken EMF is not called a WMF.
    const char* name = data.size() >= 4 && GetLittleEndian<DWORD>(data.data()) == 1 ? "EMF" : "WMF";
    if (!ReadExact(file, data.data(), data.size()))
        return Fail(std::string("corrupted ") + name);
    Layout layout;
    if (!ReadPlaceable(data, layout) && !ReadEnhanced(data, layout))
        return Fail(std::string("corrupted ") + name);
    name = layout.enhanced ? "EMF" : "WMF";
    std::int64_t width = layout.width, height = layout.height;
    if (width <= 0 || height <= 0)
        return Fail(std::string("empty ") + name);
    if (forcedWidth > 0)
        width = forcedWidth;
    if (forcedHeight > 0)
        height = forcedHeight;
    ShrinkToLimit(width, height);
    // The output and the picture made of it are held at once.
    const std::uint64_t estimate = std::uint64_t(width) * std::uint64_t(height) * (4 + 3);
    if (!options.Allows(estimate))
        return Fail(PictureTooLargeMessage(name, std::uint64_t(width), std::uint64_t(height),
                                           estimate, options.budget));
    if (HeaderOnly()) {
        SetHeaderOnly(DWORD(width), DWORD(height), 24);
        SetType(kTypeWmf);
        SetLastError("output dimensions returned");
        return true;
    }
    try {
        return Render(layout, LONG(width), LONG(height), options);
    } catch (const std::bad_alloc&) {
        return Fail(kPictureOutOfMemory);
    }
}

bool CRasterWMF::Render(const Layout& layout, LONG width, LONG height,
                        const DecodeOptions& options) {
    CBitmap bitmap;
    std::string cutShort;
    if (!Play(layout, width, height, options, bitmap, cutShort))
        return false;
    if (!CreateFromBitmap(bitmap))
        return false;
    SetType(kTypeWmf);
    // What was drawn is kept; the message says why the rest is missing.
    if (!cutShort.empty())
        SetLastError(cutShort.c_str());
    return true;
}

bool CRasterWMF::Play(const Layout& layout, LONG width, LONG height, const DecodeOptions& options,
                      CBitmap& bitmap, std::string& cutShortWhy) {
    CDC dc;
    if (!bitmap.CreateBitmap32(width, height) || !dc.CreateCompatibleDC(nullptr))
        return Fail(kPictureOutOfMemory);
    dc.SelectObject(&bitmap); // white already
    const char* name = layout.enhanced ? "EMF" : "WMF";
    bool corrupt = false, cancelled = false, cutShort = false;
    std::string refusal;
    {
        MetafileCanvas canvas(dc, width, height);
        canvas.ResizeTable(layout.handles);
        canvas.SetWorkBudget(WorkBudget(layout.records.size(), width, height));
        // While it plays, only the output is held besides the bitmap of one record.
        const std::uint64_t held = std::uint64_t(width) * std::uint64_t(height) * 4;
        canvas.SetBitmapRoom(options.budget > held ? options.budget - held : 0);
        canvas.SetStop([this] { return Cancelled(); });
        auto stop = [this](std::uint64_t done, std::uint64_t total) {
            SetProgress(done, total);
            return Cancelled();
        };
        const double boxW = double(layout.right) - layout.left;
        const double boxH = double(layout.bottom) - layout.top;
        if (layout.enhanced) {
            // Reference-device pixels inside the bounds fill the picture.
            canvas.Mapping().SetPixelsPerMm(layout.pxPerMmX, layout.pxPerMmY);
            canvas.SetOutput({width / boxW, 0, 0, height / boxH,
                              -double(layout.left) * width / boxW,
                              -double(layout.top) * height / boxH});
            const auto result = EmfPlayer(canvas, stop).Play(layout.records);
            corrupt = result == EmfPlayer::Result::Corrupt;
            cancelled = result == EmfPlayer::Result::Cancelled;
            cutShort = result == EmfPlayer::Result::CutShort;
        } else {
            // The placeable box fills the picture until the records map otherwise.
            const double mm = boxW / layout.unitsPerInch * 25.4;
            canvas.Mapping().SetPixelsPerMm(width / mm, width / mm);
            canvas.Mapping().SetMapMode(MM_ANISOTROPIC);
            canvas.Mapping().SetWindowOrg(layout.left, layout.top);
            canvas.Mapping().SetWindowExt(boxW, boxH);
            canvas.Mapping().SetViewportExt(width, height);
            const auto result = WmfPlayer(canvas, stop).Play(layout.records);
            corrupt = result == WmfPlayer::Result::Corrupt;
            cancelled = result == WmfPlayer::Result::Cancelled;
            cutShort = result == WmfPlayer::Result::CutShort;
        }
        refusal = canvas.Refusal();
    }
    if (cancelled)
        return Fail(kCancelled);
    if (corrupt)
        return Fail(std::string("corrupted ") + name);
    if (cutShort)
        cutShortWhy = std::string(name) + " cut short: " +
                      (refusal.empty() ? "more drawing than its size justifies" : refusal);
    return true;
}

std::uint64_t CRasterWMF::WorkBudget(std::uint64_t recordBytes, LONG width, LONG height) {
    return kCanvasesOfWork * std::uint64_t(width) * std::uint64_t(height) +
           kPixelsPerByte * recordBytes;
}

bool CRasterWMF::Encode(CRasterFile&) {
    return Fail("Save WMF not supported");
}
