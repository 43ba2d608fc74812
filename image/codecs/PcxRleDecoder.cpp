#include "image/codecs/PcxRleDecoder.h"

#include "image/core/StreamByteReader.h"

#include <cstring>

PcxRleDecoder::Result PcxRleDecoder::Decode(StreamByteReader& in, BYTE* out, std::size_t n) {
    while (n > 0) {
        if (run_ > 0) {
            const std::size_t take = run_ < n ? run_ : n;
            std::memset(out, value_, take);
            out += take;
            n -= take;
            run_ -= static_cast<unsigned>(take);
            continue;
        }
        const int c = in.Get();
        if (c < 0)
            return Result::EndOfData;
        if (c < 0xC0) {
            *out++ = static_cast<BYTE>(c);
            --n;
            --left_;
            continue;
        }
        const int v = in.Get();
        if (v < 0)
            return Result::EndOfData;
        run_ = static_cast<unsigned>(c & 0x3F);
        value_ = static_cast<BYTE>(v);
        if (run_ > left_)
            return Result::RunPastImage;
        left_ -= run_;
    }
    return Result::Ok;
}
