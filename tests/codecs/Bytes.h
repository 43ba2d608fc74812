#pragma once
#include "platform/WinTypes.h"

#include <initializer_list>
#include <span>
#include <vector>

// Builds file bytes field by field for hand-made test files.
class Bytes {
public:
    Bytes& u8(unsigned v) {
        data_.push_back(static_cast<BYTE>(v));
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Bytes& u32(DWORD v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& i32(LONG v) { return u32(static_cast<DWORD>(v)); }
    Bytes& raw(std::initializer_list<unsigned> bytes) {
        for (unsigned b : bytes)
            u8(b);
        return *this;
    }
    Bytes& fill(std::size_t n, unsigned v) {
        data_.insert(data_.end(), n, static_cast<BYTE>(v));
        return *this;
    }
    Bytes& append(const std::vector<BYTE>& more) {
        data_.insert(data_.end(), more.begin(), more.end());
        return *this;
    }
    const std::vector<BYTE>& data() const { return data_; }
    std::size_t size() const { return data_.size(); }
    operator const std::vector<BYTE>&() const { return data_; }
    operator std::span<const BYTE>() const { return data_; }

private:
    std::vector<BYTE> data_;
};

// A 40-byte (or longer) bitmap info header.
inline Bytes BmpInfo(LONG width, LONG height, unsigned bits, DWORD compression = 0,
                     DWORD colors = 0, DWORD headerSize = 40) {
    Bytes b;
    b.u32(headerSize).i32(width).i32(height).u16(1).u16(bits).u32(compression).u32(0);
    b.i32(3780).i32(3780).u32(colors).u32(0);
    return b;
}
