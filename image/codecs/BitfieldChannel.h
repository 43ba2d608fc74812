#pragma once
#include "platform/WinTypes.h"

// One colour channel of bit-field pixel data: where its bits sit (from the mask) and how to
// scale them to 8 bits. Narrow channels are widened by repeating their top bits, so that the
// full value becomes 255 rather than 248.
class BitfieldChannel {
public:
    BitfieldChannel() = default;
    explicit BitfieldChannel(DWORD mask);

    BYTE Extract(DWORD pixel) const {
        if (bits_ == 0)
            return 0;
        const DWORD v = (pixel >> shift_) & valueMask_;
        if (bits_ >= 8)
            return static_cast<BYTE>(v >> (bits_ - 8));
        return widen_[v];
    }
    int Bits() const { return bits_; }

private:
    int shift_ = 0;
    int bits_ = 0; // the lowest contiguous run of set bits in the mask
    DWORD valueMask_ = 0;
    BYTE widen_[128] = {};
};
