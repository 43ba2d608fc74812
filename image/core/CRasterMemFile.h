#pragma once
// A stream over memory. Built empty (then Open) it owns a buffer that grows in 64 KiB steps.
// Built over a caller's bytes it reads them in place and never frees, reallocates or writes
// them: the first write copies the data into a buffer of its own. Seeking past the end and
// writing zero-fills the gap.
#include "image/core/CRasterFile.h"

#include <vector>

class CRasterMemFile : public CRasterFile {
public:
    CRasterMemFile() = default;
    // Over `size` bytes of the caller; a null buffer gives an empty stream.
    CRasterMemFile(const BYTE* buffer, std::size_t size);
    ~CRasterMemFile() override = default;

    // Starts an empty owned buffer; false when a buffer already exists.
    bool Open();
    // The data (null without buffer); valid until the next write or Close.
    const BYTE* GetBuffer() const { return data_; }
    // Hands the written bytes to the caller; the stream is left without buffer.
    std::vector<BYTE> DetachBuffer();
    LONG Capacity() const { return capacity_; }

    bool Close() override;
    std::size_t Read(void* buffer, std::size_t size, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t size, std::size_t count) override;
    bool Seek(LONG offset, int origin) override;
    LONG Tell() override;
    LONG Size() override;
    bool Flush() override;
    bool Eof() override;
    LONG Error() override;
    bool PutC(BYTE c) override;
    LONG GetC() override;
    char* GetS(char* buffer, int capacity) override;
    LONG Scanf(const char* format, void* output) override;

private:
    bool Grow(std::uint64_t needed);
    bool Place(const BYTE* bytes, std::size_t n);

    const BYTE* data_ = nullptr; // own_.data() when owned, else the caller's bytes
    std::vector<BYTE> own_;      // exactly the written bytes
    bool owned_ = false;
    LONG size_ = 0;
    LONG position_ = 0;
    LONG capacity_ = 0;
};
