#pragma once
#include "platform/WinTypes.h"

#include <tiffio.h>

class CRaster;
class CRasterFile;

// Lets libtiff read and write a CRasterFile. TIFF offsets count from the stream's position
// when the handle is opened, so a TIFF embedded in a larger stream works too. libtiff's
// errors become the given picture's last-error text; its warnings are dropped. Closing the
// handle leaves the stream open (its owner closes it).
class CRasterTiffClientOpen {
public:
    // Largest single allocation libtiff may make for one file: the picture size limit.
    static constexpr tmsize_t kMaxSingleAlloc = tmsize_t{1} << 29;

    CRasterTiffClientOpen(CRasterFile& file, CRaster& errors);
    CRasterTiffClientOpen(const CRasterTiffClientOpen&) = delete;
    CRasterTiffClientOpen& operator=(const CRasterTiffClientOpen&) = delete;
    ~CRasterTiffClientOpen();

    // `mode` as for TIFFOpen: "r" to read, "a" to write (appending to a TIFF already there).
    // `maxSingleAlloc` bounds each block libtiff takes for itself while reading.
    bool Open(const char* mode, tmsize_t maxSingleAlloc = kMaxSingleAlloc);
    TIFF* Handle() const { return tif_; }
    // Closes the handle; false when the stream reported an error.
    bool Close();

private:
    static tmsize_t OnRead(thandle_t client, void* buffer, tmsize_t size);
    static tmsize_t OnWrite(thandle_t client, void* buffer, tmsize_t size);
    static toff_t OnSeek(thandle_t client, toff_t offset, int whence);
    static int OnClose(thandle_t client);
    static toff_t OnSize(thandle_t client);
    static int OnMap(thandle_t client, void** base, toff_t* size);
    static void OnUnmap(thandle_t client, void* base, toff_t size);
    static int OnError(TIFF* tif, void* user, const char* module, const char* format, va_list args);
    static int OnWarning(TIFF* tif, void* user, const char* module, const char* format,
                         va_list args);

    CRasterFile& file_;
    CRaster& errors_;
    LONG base_ = 0;
    TIFF* tif_ = nullptr;
};
