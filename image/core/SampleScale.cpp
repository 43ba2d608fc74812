#include "image/core/SampleScale.h"

#include <algorithm>

SampleScale::SampleScale(std::int64_t maximum, std::int64_t offset, int shift)
    : maximum_(std::max<std::int64_t>(maximum, 1)), offset_(offset), shift_(shift) {
    if (maximum_ > 0xFFFF)
        return;
    table_.resize(std::size_t(maximum_) + 1);
    for (std::int64_t v = 0; v <= maximum_; ++v)
        table_[std::size_t(v)] = shift_ > 0
                                     ? static_cast<BYTE>(v >> shift_)
                                     : static_cast<BYTE>((v * 255 + maximum_ / 2) / maximum_);
}

SampleScale SampleScale::ForPrecision(int precision, bool isSigned) {
    precision = std::clamp(precision, 1, 38);
    const std::int64_t maximum = (std::int64_t{1} << precision) - 1;
    const std::int64_t offset = isSigned ? std::int64_t{1} << (precision - 1) : 0;
    return SampleScale(maximum, offset, precision > 8 ? precision - 8 : 0);
}

SampleScale SampleScale::ForMaximum(std::uint32_t maxValue) {
    // 2^p - 1 above eight bits keeps the high bits, like any other component of p bits.
    for (int p = 9; p <= 16; ++p) {
        if (maxValue == (1u << p) - 1)
            return ForPrecision(p, false);
    }
    return SampleScale(maxValue, 0, 0);
}
