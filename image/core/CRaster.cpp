#include "image/core/CRaster.h"

#include "platform/LargeArrayAllocator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr std::uint64_t kMaxPixelBits = std::uint64_t{1} << 32;

DWORD PaletteEntries(DWORD bpp) {
    return bpp <= 8 ? (DWORD{1} << bpp) : 0;
}

} // namespace

CRaster::CRaster(DWORD type) {
    InitMembers(type);
}

CRaster::CRaster(DWORD width, DWORD height, DWORD bpp, DWORD type) {
    InitMembers(type);
    Create(width, height, bpp, type);
}

CRaster::CRaster(const CRaster& source, bool pixels, bool selection, bool alpha) {
    InitMembers(source.info_.type);
    Copy(source, pixels, selection, alpha);
}

CRaster::CRaster(const CRaster& source) : CRaster(source, true, true, true) {}

CRaster& CRaster::operator=(const CRaster& source) {
    if (&source != this)
        Copy(source, true, true, true);
    return *this;
}

CRaster::~CRaster() = default;

void CRaster::InitMembers(DWORD type) {
    head_ = {};
    info_ = {};
    info_.type = type;
    SetXDpi(96);
    SetYDpi(96);
}

DWORD CRaster::RaiseDepth(DWORD bpp) {
    if (bpp <= 1)
        return 1;
    if (bpp <= 4)
        return 4;
    if (bpp <= 8)
        return 8;
    return 24;
}

// The limit counts the exact pixel bits and, so that narrow tall pictures cannot slip past it
// through row padding, the padded rows as well; sizes are 64-bit so nothing wraps.
bool CRaster::CheckSize(DWORD width, DWORD height, DWORD bpp) {
    const std::uint64_t pixels = std::uint64_t{width} * height;
    const std::uint64_t paddedRowBits = (std::uint64_t{width} * bpp + 31) / 32 * 32;
    const bool tooBig = pixels > (kMaxPixelBits - 1) / bpp ||
                        paddedRowBits * height >= kMaxPixelBits ||
                        width > static_cast<DWORD>(std::numeric_limits<LONG>::max()) ||
                        height > static_cast<DWORD>(std::numeric_limits<LONG>::max());
    if (tooBig)
        SetLastError("CRASTER_MAX_MEMORY exceeded");
    return !tooBig;
}

BYTE* CRaster::Create(DWORD width, DWORD height, DWORD bpp, DWORD type) {
    return CreateBlock(width, height, bpp, type, true);
}

BYTE* CRaster::CreateForOverwrite(DWORD width, DWORD height, DWORD bpp, DWORD type) {
    return CreateBlock(width, height, bpp, type, false);
}

BYTE* CRaster::CreateBlock(DWORD width, DWORD height, DWORD bpp, DWORD type, bool cleared) {
    if (!Destroy())
        return nullptr;
    if (width == 0 || height == 0) {
        SetLastError("CRaster::Create : width and height must be greater than zero");
        return nullptr;
    }
    bpp = RaiseDepth(bpp);
    if (!CheckSize(width, height, bpp))
        return nullptr;
    const DWORD stride = static_cast<DWORD>((std::uint64_t{width} * bpp + 31) / 32 * 4);
    const std::size_t imageSize = std::size_t{stride} * height;
    const DWORD colours = PaletteEntries(bpp);
    const std::size_t total = BITMAPINFOHEADER::kSize + colours * RGBQUAD::kSize + imageSize;
    Plane block = AllocatePlane(total);
    if (!block) {
        SetLastError("CRaster::Create can't allocate memory");
        return nullptr;
    }
    // A fresh block of this size comes straight from the system, so clearing it costs a
    // second pass over every page.
    std::memset(block.get(), 0, cleared ? total : total - imageSize);
    info_.type = type;
    head_.biSize = BITMAPINFOHEADER::kSize;
    head_.biWidth = static_cast<LONG>(width);
    head_.biHeight = static_cast<LONG>(height);
    head_.biPlanes = 1;
    head_.biBitCount = static_cast<WORD>(bpp);
    head_.biCompression = BITMAPINFOHEADER::kBiRgb;
    head_.biSizeImage = static_cast<DWORD>(imageSize);
    head_.biClrUsed = colours;
    head_.biClrImportant = 0;
    head_.biXPelsPerMeter = PelsPerMeter(info_.xDpi);
    head_.biYPelsPerMeter = PelsPerMeter(info_.yDpi);
    dib_ = std::move(block);
    dibSize_ = total;
    stride_ = stride;
    bits_ = dib_.get() + BITMAPINFOHEADER::kSize + colours * RGBQUAD::kSize;
    if (!cleared)
        ClearRowPadding();
    StoreHeader();
    return dib_.get();
}

// From the byte that holds the last pixel's bits on: 1- and 4-bit writers set pixels by
// masking, so a partly used last byte must start clean too.
void CRaster::ClearRowPadding() {
    const std::size_t used = std::size_t{GetWidth()} * GetBpp() / 8;
    if (used >= stride_)
        return;
    for (DWORD y = 0; y < GetHeight(); ++y)
        std::memset(bits_ + std::size_t{y} * stride_ + used, 0, stride_ - used);
}

// Large planes come on large pages: a decoded photo then costs a few dozen page faults
// instead of thousands.
CRaster::Plane CRaster::AllocatePlane(std::size_t size) {
    try {
        return std::allocate_shared_for_overwrite<BYTE[]>(LargeArrayAllocator<BYTE>(), size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CRaster::StoreHeader() {
    if (dib_)
        head_.Store(dib_.get());
}

void CRaster::ResetStorage() {
    dib_.reset();
    selection_.reset();
    alpha_.reset();
    dibSize_ = 0;
    stride_ = 0;
    bits_ = nullptr;
    const LONG xPels = head_.biXPelsPerMeter;
    const LONG yPels = head_.biYPelsPerMeter;
    head_ = {};
    head_.biXPelsPerMeter = xPels;
    head_.biYPelsPerMeter = yPels;
    nearest_.Reset();
}

bool CRaster::Destroy() {
    if (shared_)
        return false;
    ResetStorage();
    return true;
}

bool CRaster::DestroyFrames() {
    if (shared_)
        return false;
    frames_.clear();
    info_.numFrames = 0;
    return true;
}

CRaster* CRaster::GetFrame(std::size_t i) const {
    return i < frames_.size() ? frames_[i].get() : nullptr;
}

bool CRaster::AddFrame(std::unique_ptr<CRaster> frame) {
    if (shared_ || !frame)
        return false;
    frames_.push_back(std::move(frame));
    return true;
}

bool CRaster::Copy(const CRaster& source, bool pixels, bool selection, bool alpha) {
    if (&source == this)
        return true;
    if (!Destroy())
        return false;
    info_ = source.info_;
    head_.biXPelsPerMeter = PelsPerMeter(info_.xDpi);
    head_.biYPelsPerMeter = PelsPerMeter(info_.yDpi);
    if (!source.IsValid())
        return true;
    if (!CreateBlock(source.GetWidth(), source.GetHeight(), source.GetBpp(), source.info_.type,
                     !pixels))
        return false;
    head_.biClrImportant = source.head_.biClrImportant;
    StoreHeader();
    const std::size_t body = pixels ? dibSize_ - BITMAPINFOHEADER::kSize : GetPaletteSize();
    std::memcpy(dib_.get() + BITMAPINFOHEADER::kSize, source.dib_.get() + BITMAPINFOHEADER::kSize,
                body);
    CopyPlanesFrom(source, selection, alpha);
    return true;
}

void CRaster::CopyPlanesFrom(const CRaster& source, bool selection, bool alpha) {
    if (selection && source.selection_)
        CopySelection(source);
    if (alpha && source.alpha_)
        CopyAlpha(source);
}

void CRaster::SetHeaderOnly(DWORD width, DWORD height, DWORD bpp) {
    head_.biWidth = static_cast<LONG>(width);
    head_.biHeight = static_cast<LONG>(height);
    head_.biBitCount = static_cast<WORD>(bpp);
}

bool CRaster::TakeOver(CRaster& source, bool withFrames) {
    if (&source == this)
        return true;
    if (source.shared_)
        return Copy(source);
    if (!Destroy())
        return false;
    head_ = source.head_;
    info_ = std::move(source.info_);
    dib_ = std::move(source.dib_);
    dibSize_ = source.dibSize_;
    stride_ = source.stride_;
    bits_ = source.bits_;
    selection_ = std::move(source.selection_);
    alpha_ = std::move(source.alpha_);
    if (withFrames) {
        frames_ = std::move(source.frames_);
        source.frames_.clear();
    }
    source.ResetStorage();
    source.InitMembers(0);
    return true;
}

void CRaster::ShareFrom(const CRaster* source) {
    if (source == nullptr || source == this)
        return;
    if (!shared_) {
        Destroy();
        DestroyFrames();
    }
    head_ = source->head_;
    info_ = source->info_;
    dib_ = source->dib_;
    dibSize_ = source->dibSize_;
    stride_ = source->stride_;
    bits_ = source->bits_;
    selection_ = source->selection_;
    alpha_ = source->alpha_;
    frames_ = source->frames_;
    nearest_.Reset();
    shared_ = true;
}

bool CRaster::StopRequested() {
    if (info_.escape == 0 && info_.decode.stop != nullptr && info_.decode.stop->Poll())
        info_.escape = 1;
    return info_.escape > 0; // -1 asks a decoder for the header only
}

void CRaster::CopyInfoFrom(const CRaster& other) {
    if (!IsValid())
        info_ = other.info_;
}

void CRaster::Clear(BYTE value) {
    if (!bits_)
        return;
    if (head_.biBitCount == 1 && value != 0)
        value = 255;
    else if (head_.biBitCount == 4)
        value = static_cast<BYTE>((value & 0x0F) * 17);
    std::memset(bits_, value, head_.biSizeImage);
}

BYTE* CRaster::GetBits(DWORD row) {
    if (!bits_ || row >= GetHeight())
        return nullptr;
    return bits_ + std::size_t{row} * stride_;
}

const BYTE* CRaster::GetBits(DWORD row) const {
    if (!bits_ || row >= GetHeight())
        return nullptr;
    return bits_ + std::size_t{row} * stride_;
}

std::size_t CRaster::GetDibSize() const {
    return dib_ ? dibSize_ : 0;
}

BYTE* CRaster::GetDib() {
    nearest_.Reset();
    return dib_.get();
}

bool CRaster::IsInside(LONG x, LONG y) const {
    return x >= 0 && y >= 0 && x < head_.biWidth && y < head_.biHeight;
}

void CRaster::SetTransparentIndex(LONG index) {
    info_.transparentIndex = index < static_cast<LONG>(GetNumColors()) ? index : 0;
}

void CRaster::SetTransparentColor(RGBQUAD c) {
    c.rgbReserved = 0;
    info_.transparentColor = c;
}

RGBQUAD CRaster::GetTransparentColor() const {
    if (head_.biBitCount < 24 && info_.transparentIndex >= 0)
        return GetPaletteColor(static_cast<DWORD>(info_.transparentIndex));
    return info_.transparentColor;
}

bool CRaster::SetType(DWORD type) {
    const bool known = type >= 1 && type < CRasterInfo::kNumTypes;
    info_.type = known ? type : 0;
    return known;
}

LONG CRaster::PelsPerMeter(LONG dpi) {
    const double pels = std::floor(dpi * 10000.0 / 254.0 + 0.5);
    return static_cast<LONG>(std::min(pels, double{std::numeric_limits<LONG>::max()}));
}

void CRaster::SetXDpi(LONG dpi) {
    if (dpi <= 0)
        dpi = 96;
    info_.xDpi = dpi;
    head_.biXPelsPerMeter = PelsPerMeter(dpi);
    StoreHeader();
}

void CRaster::SetYDpi(LONG dpi) {
    if (dpi <= 0)
        dpi = 96;
    info_.yDpi = dpi;
    head_.biYPelsPerMeter = PelsPerMeter(dpi);
    StoreHeader();
}

BYTE CRaster::GetJpegQuality() const {
    const float q = std::clamp(info_.jpegQuality, 0.0f, 255.0f);
    return static_cast<BYTE>(std::lround(q));
}

void CRaster::SetJpegQuality(float quality) {
    info_.jpegQuality = quality > 0.0f ? quality : 0.0f;
}

void CRaster::SetOffset(LONG x, LONG y) {
    info_.xOffset = x;
    info_.yOffset = y;
}

void CRaster::SetLastError(const char* text) {
    info_.lastError.assign(text ? text : "");
    if (info_.lastError.size() > CRasterInfo::kMaxErrorLength)
        info_.lastError.resize(CRasterInfo::kMaxErrorLength);
}

DWORD CRaster::GetCodecOption(DWORD type) const {
    DWORD index = GetTypeIndex(type);
    if (index == 0)
        index = GetTypeIndex(info_.type);
    return info_.codecOptions[index];
}

bool CRaster::SetCodecOption(DWORD option, DWORD type) {
    DWORD index = GetTypeIndex(type);
    if (index == 0)
        index = GetTypeIndex(info_.type);
    info_.codecOptions[index] = option;
    return true;
}
