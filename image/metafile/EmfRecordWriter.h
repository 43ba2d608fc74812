#pragma once
#include "platform/LittleEndian.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Appends enhanced-metafile records to one byte buffer, each field little-endian in its fixed
// place. A record is opened with Begin, filled in field order and closed with End, which pads
// it to a whole number of DWORDs and fills in its size.
class EmfRecordWriter {
public:
    void Begin(DWORD type);
    void End();

    void U8(BYTE v) { bytes_.push_back(v); }
    void U16(WORD v) { Put(v); }
    void S16(short v) { Put(v); }
    void U32(DWORD v) { Put(v); }
    void S32(LONG v) { Put(v); }
    void F32(float v);
    void Raw(std::span<const BYTE> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    void Zeros(std::size_t n) { bytes_.resize(bytes_.size() + n, 0); }
    // Overwrites a field already written, at an offset from the start of the buffer.
    void PatchU32(std::size_t at, DWORD v);

    // Bytes written so far in the open record, its type and size fields included.
    std::size_t InRecord() const { return bytes_.size() - start_; }
    DWORD Records() const { return records_; }
    std::size_t Size() const { return bytes_.size(); }
    std::vector<BYTE>& Bytes() { return bytes_; }
    void Reserve(std::size_t n) { bytes_.reserve(n); }

private:
    template <typename T> void Put(T v) {
        const std::size_t at = bytes_.size();
        bytes_.resize(at + sizeof(T));
        PutLittleEndian(&bytes_[at], v);
    }

    std::vector<BYTE> bytes_;
    std::size_t start_ = 0;
    DWORD records_ = 0;
};
