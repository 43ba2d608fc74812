#pragma once
#include "platform/WinTypes.h"

#include <cstddef>
#include <vector>

// Run-length packing of one PCX line: runs of up to 63 equal bytes become a count byte
// (0xC0 + count) and the value; a single byte below 0xC0 stands alone. Runs never cross the
// end of the line.
class PcxRleEncoder {
public:
    static void EncodeLine(const BYTE* line, std::size_t n, std::vector<BYTE>& out);
};
