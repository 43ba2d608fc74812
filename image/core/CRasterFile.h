#pragma once
// The stream every picture codec reads and writes: a disk file (CRasterIOFile) or a memory
// buffer (CRasterMemFile). Results follow the C stdio calls: element counts, booleans, -1.
// Seek origins: 0 start, 1 current position, 2 end.
#include "platform/WinTypes.h"

#include <cstddef>

class CRasterFile {
public:
    CRasterFile() = default;
    CRasterFile(const CRasterFile&) = delete;
    CRasterFile& operator=(const CRasterFile&) = delete;
    virtual ~CRasterFile() = default;

    virtual bool Close() = 0;
    virtual std::size_t Read(void* buffer, std::size_t size, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t size, std::size_t count) = 0;
    virtual bool Seek(LONG offset, int origin) = 0;
    virtual LONG Tell() = 0;
    virtual LONG Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual LONG Error() = 0;
    virtual bool PutC(BYTE c);
    // A byte 0..255, or -1 at the end.
    virtual LONG GetC() = 0;
    // Reads up to capacity - 1 bytes, stopping after a line feed; null at the end.
    virtual char* GetS(char* buffer, int capacity) = 0;
    // Formatted read of one value; the number of conversions done.
    virtual LONG Scanf(const char* format, void* output) = 0;
};
