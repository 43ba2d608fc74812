#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <vector>

// Maps the samples of one component to 0..255. Components of more than eight bits keep their
// high eight bits; smaller ones, and PNM maximum values other than 2^p - 1, are stretched over
// the whole range so that they do not come out dark. Signed samples are first moved up by
// 2^(p-1). Values outside the range are clamped.
class SampleScale {
public:
    // A component of `precision` bits (1..38).
    static SampleScale ForPrecision(int precision, bool isSigned);
    // A component whose samples run 0..maxValue (PNM's maxval).
    static SampleScale ForMaximum(std::uint32_t maxValue);

    BYTE operator()(std::int64_t v) const {
        v += offset_;
        if (v <= 0)
            return 0;
        if (v >= maximum_)
            return 255;
        return table_.empty() ? static_cast<BYTE>(v >> shift_) : table_[std::size_t(v)];
    }

private:
    SampleScale(std::int64_t maximum, std::int64_t offset, int shift);

    std::int64_t maximum_;
    std::int64_t offset_;
    int shift_;
    std::vector<BYTE> table_; // used below 2^16 values, where it is cheaper than dividing
};
