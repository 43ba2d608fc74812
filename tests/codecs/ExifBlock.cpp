#include "ExifBlock.h"

#include <algorithm>
#include <iterator>

ExifBlock::ExifBlock(bool motorola) : motorola_(motorola) {
    tiff_ = motorola ? std::vector<BYTE>{'M', 'M'} : std::vector<BYTE>{'I', 'I'};
    const auto magic = U16(42);
    tiff_.insert(tiff_.end(), magic.begin(), magic.end());
    const auto first = U32(8);
    tiff_.insert(tiff_.end(), first.begin(), first.end());
}

std::vector<BYTE> ExifBlock::U16(unsigned v) const {
    const BYTE hi = BYTE(v >> 8);
    const BYTE lo = BYTE(v);
    return motorola_ ? std::vector<BYTE>{hi, lo} : std::vector<BYTE>{lo, hi};
}

std::vector<BYTE> ExifBlock::U32(DWORD v) const {
    auto hi = U16(v >> 16);
    auto lo = U16(v & 0xFFFF);
    auto& first = motorola_ ? hi : lo;
    auto& second = motorola_ ? lo : hi;
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<BYTE> ExifBlock::Rational(DWORD numerator, DWORD denominator) const {
    auto v = U32(numerator);
    const auto d = U32(denominator);
    v.insert(v.end(), d.begin(), d.end());
    return v;
}

ExifBlock::Entry ExifBlock::Ascii(unsigned tag, const std::string& text) {
    std::vector<BYTE> v(text.begin(), text.end());
    v.push_back(0);
    return {tag, 2, DWORD(v.size()), v};
}

ExifBlock::Entry ExifBlock::Undefined(unsigned tag, const std::string& bytes) {
    return {tag, 7, DWORD(bytes.size()), std::vector<BYTE>(bytes.begin(), bytes.end())};
}

DWORD ExifBlock::AddDirectory(const std::vector<Entry>& entries) {
    const DWORD at = Size();
    const auto count = U16(unsigned(entries.size()));
    tiff_.insert(tiff_.end(), count.begin(), count.end());
    tiff_.resize(tiff_.size() + 12 * entries.size() + 4, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const DWORD slot = at + 2 + DWORD(12 * i);
        std::vector<BYTE> head = U16(e.tag);
        const auto format = U16(e.format);
        const auto n = U32(e.count);
        head.insert(head.end(), format.begin(), format.end());
        head.insert(head.end(), n.begin(), n.end());
        std::copy(head.begin(), head.end(), tiff_.begin() + slot);
        if (e.value.size() <= 4) {
            std::copy(e.value.begin(), e.value.end(), tiff_.begin() + slot + 8);
        } else {
            const DWORD where = AddBytes(e.value);
            Poke32(slot + 8, where);
        }
    }
    return at;
}

DWORD ExifBlock::AddBytes(const std::vector<BYTE>& bytes) {
    const DWORD at = Size();
    tiff_.insert(tiff_.end(), bytes.begin(), bytes.end());
    if (tiff_.size() % 2)
        tiff_.push_back(0);
    return at;
}

void ExifBlock::Poke32(DWORD at, DWORD v) {
    const auto b = U32(v);
    std::copy(b.begin(), b.end(), tiff_.begin() + at);
}

void ExifBlock::Link(DWORD directory, unsigned index, DWORD target) {
    Poke32(directory + 2 + 12 * index + 8, target);
}

void ExifBlock::SetNext(DWORD directory, DWORD target) {
    const DWORD count = motorola_ ? DWORD(tiff_[directory]) << 8 | tiff_[directory + 1]
                                  : DWORD(tiff_[directory + 1]) << 8 | tiff_[directory];
    Poke32(directory + 2 + 12 * count, target);
}

void ExifBlock::SetFirst(DWORD target) {
    Poke32(4, target);
}

std::vector<BYTE> ExifBlock::Payload() const {
    // Sized first and copied into: GCC 12 at -O3 reports a false out-of-bounds copy when a
    // six-byte vector grows by insertion.
    static constexpr BYTE kHeader[] = {'E', 'x', 'i', 'f', 0, 0};
    std::vector<BYTE> out(sizeof kHeader + tiff_.size());
    std::copy(std::begin(kHeader), std::end(kHeader), out.begin());
    std::copy(tiff_.begin(), tiff_.end(), out.begin() + sizeof kHeader);
    return out;
}
