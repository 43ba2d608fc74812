#include "image/codecs/CRasterTiffClientOpen.h"

#include "image/core/CRaster.h"
#include "image/core/CRasterFile.h"

#include <climits>
#include <cstdio>
#include <memory>

namespace {

CRasterTiffClientOpen& Client(thandle_t client) {
    return *static_cast<CRasterTiffClientOpen*>(client);
}

struct OptionsFree {
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};

constexpr toff_t kSeekError = static_cast<toff_t>(-1);

} // namespace

CRasterTiffClientOpen::CRasterTiffClientOpen(CRasterFile& file, CRaster& errors)
    : file_(file), errors_(errors) {}

CRasterTiffClientOpen::~CRasterTiffClientOpen() {
    Close();
}

bool CRasterTiffClientOpen::Open(const char* mode, tmsize_t maxSingleAlloc) {
    if (tif_ != nullptr)
        return true;
    base_ = file_.Tell();
    if (base_ < 0)
        return false;
    std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options)
        return false;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), maxSingleAlloc);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), OnError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), OnWarning, this);
    tif_ = TIFFClientOpenExt("TIFF IMAGE", mode, this, OnRead, OnWrite, OnSeek, OnClose, OnSize,
                             OnMap, OnUnmap, options.get());
    return tif_ != nullptr;
}

bool CRasterTiffClientOpen::Close() {
    if (tif_ == nullptr)
        return true;
    TIFFClose(tif_);
    tif_ = nullptr;
    return file_.Error() == 0;
}

tmsize_t CRasterTiffClientOpen::OnRead(thandle_t client, void* buffer, tmsize_t size) {
    if (size <= 0)
        return 0;
    return static_cast<tmsize_t>(Client(client).file_.Read(buffer, 1, std::size_t(size)));
}

tmsize_t CRasterTiffClientOpen::OnWrite(thandle_t client, void* buffer, tmsize_t size) {
    if (size <= 0)
        return 0;
    return static_cast<tmsize_t>(Client(client).file_.Write(buffer, 1, std::size_t(size)));
}

toff_t CRasterTiffClientOpen::OnSeek(thandle_t client, toff_t offset, int whence) {
    CRasterTiffClientOpen& c = Client(client);
    if (offset == kSeekError)
        return kSeekError;
    // Offsets from libtiff are unsigned; moves relative to the position or the end are
    // two's-complement signed values.
    long long target = static_cast<long long>(offset);
    int origin = 1;
    if (whence == SEEK_SET) {
        target += c.base_;
        origin = 0;
    } else if (whence == SEEK_END) {
        origin = 2;
    }
    if (target < LONG_MIN || target > LONG_MAX || !c.file_.Seek(static_cast<LONG>(target), origin))
        return kSeekError;
    const LONG position = c.file_.Tell();
    if (position < c.base_)
        return kSeekError;
    return static_cast<toff_t>(position - c.base_);
}

int CRasterTiffClientOpen::OnClose(thandle_t) {
    return 0;
}

toff_t CRasterTiffClientOpen::OnSize(thandle_t client) {
    CRasterTiffClientOpen& c = Client(client);
    const LONG size = c.file_.Size();
    return size > c.base_ ? static_cast<toff_t>(size - c.base_) : 0;
}

int CRasterTiffClientOpen::OnMap(thandle_t, void**, toff_t*) {
    return 0;
}

void CRasterTiffClientOpen::OnUnmap(thandle_t, void*, toff_t) {}

int CRasterTiffClientOpen::OnError(TIFF*, void* user, const char* module, const char* format,
                                   va_list args) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    (void)module;
    // Nothing may throw through libtiff's C frames.
    try {
        static_cast<CRasterTiffClientOpen*>(user)->errors_.SetLastError(text);
    } catch (...) {
    }
    return 1;
}

int CRasterTiffClientOpen::OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}
