#pragma once
#include "platform/WinTypes.h"

#include <string>
#include <vector>

// Builds EXIF blocks (the APP1 payload: "Exif", two zero bytes, a TIFF-style header and
// directories) in either byte order, with values placed inline or behind the directory as
// the format asks, so that tests can describe a camera block entry by entry.
class ExifBlock {
public:
    struct Entry {
        unsigned tag;
        unsigned format;
        DWORD count;
        std::vector<BYTE> value; // already in the block's byte order
    };

    explicit ExifBlock(bool motorola);

    std::vector<BYTE> U16(unsigned v) const;
    std::vector<BYTE> U32(DWORD v) const;
    std::vector<BYTE> Rational(DWORD numerator, DWORD denominator) const;
    Entry Short(unsigned tag, unsigned v) const { return {tag, 3, 1, U16(v)}; }
    Entry Long(unsigned tag, DWORD v) const { return {tag, 4, 1, U32(v)}; }
    Entry Ratio(unsigned tag, DWORD n, DWORD d) const { return {tag, 5, 1, Rational(n, d)}; }
    static Entry Ascii(unsigned tag, const std::string& text);
    static Entry Undefined(unsigned tag, const std::string& bytes);

    // Appends a directory and its out-of-line values; returns the directory's offset.
    DWORD AddDirectory(const std::vector<Entry>& entries);
    // Points entry `index` of the directory at `directory` to `target` (a sub-directory).
    void Link(DWORD directory, unsigned index, DWORD target);
    // Sets the directory's next-directory link.
    void SetNext(DWORD directory, DWORD target);
    void SetFirst(DWORD target);
    DWORD AddBytes(const std::vector<BYTE>& bytes);
    void Poke32(DWORD at, DWORD v);
    DWORD Size() const { return static_cast<DWORD>(tiff_.size()); }

    // The APP1 payload.
    std::vector<BYTE> Payload() const;

private:
    bool motorola_;
    std::vector<BYTE> tiff_;
};
