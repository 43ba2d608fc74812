#include "image/codecs/PcxRleEncoder.h"

void PcxRleEncoder::EncodeLine(const BYTE* line, std::size_t n, std::vector<BYTE>& out) {
    std::size_t i = 0;
    while (i < n) {
        const BYTE v = line[i];
        std::size_t run = 1;
        while (i + run < n && run < 63 && line[i + run] == v)
            ++run;
        if (run > 1 || v >= 0xC0)
            out.push_back(static_cast<BYTE>(0xC0 + run));
        out.push_back(v);
        i += run;
    }
}
