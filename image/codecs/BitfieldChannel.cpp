#include "image/codecs/BitfieldChannel.h"

#include <bit>

BitfieldChannel::BitfieldChannel(DWORD mask) {
    if (mask == 0)
        return;
    shift_ = std::countr_zero(mask);
    bits_ = std::countr_one(mask >> shift_);
    valueMask_ = bits_ >= 32 ? 0xFFFFFFFFu : ((DWORD(1) << bits_) - 1);
    if (bits_ >= 8)
        return;
    for (DWORD v = 0; v <= valueMask_; ++v) {
        // Repeat the value's bits from the top down to fill 8 bits.
        DWORD out = 0;
        for (int filled = 0; filled < 8; filled += bits_)
            out |= (v << (8 - bits_)) >> filled;
        widen_[v] = static_cast<BYTE>(out);
    }
}
