#include "image/core/CNearestColorCache.h"

#include <algorithm>

namespace {

int Square(int v) {
    return v * v;
}

int Distance(const BYTE* entry, RGBQUAD c) {
    return Square(entry[1] - c.rgbGreen) + Square(entry[0] - c.rgbBlue) +
           Square(entry[2] - c.rgbRed);
}

// Squared distance from value p to the nearest and to the farthest point of [lo, hi].
int MinAxis(int p, int lo, int hi) {
    return p < lo ? Square(lo - p) : (p > hi ? Square(p - hi) : 0);
}
int MaxAxis(int p, int lo, int hi) {
    return Square(std::max(p - lo, hi - p));
}

} // namespace

void CNearestColorCache::Reset() {
    lastValid_ = false;
    count_ = 0;
    scans_ = 0;
    cellStart_.clear();
    cellCount_.clear();
    candidates_.clear();
}

BYTE CNearestColorCache::Scan(const BYTE* palette, unsigned count, RGBQUAD c) {
    // Worse than any real distance (3 x 255^2), so the first entry always takes over.
    int best = 200000;
    BYTE bestIndex = 0;
    for (unsigned i = 0; i < count; ++i) {
        const int d = Distance(palette + i * 4, c);
        if (d < best) {
            best = d;
            bestIndex = static_cast<BYTE>(i);
            if (d == 0)
                break;
        }
    }
    return bestIndex;
}

int CNearestColorCache::CellOf(RGBQUAD c) {
    return ((c.rgbRed >> kCellShift) * kCellsPerSide + (c.rgbGreen >> kCellShift)) * kCellsPerSide +
           (c.rgbBlue >> kCellShift);
}

BYTE CNearestColorCache::Find(const BYTE* palette, unsigned count, RGBQUAD c) {
    if (count == 0)
        return 0;
    c.rgbReserved = 0;
    if (lastValid_ && count == count_ && c == lastColor_)
        return lastIndex_;
    if (count != count_) {
        Reset();
        count_ = count;
    }
    lastValid_ = true;
    lastColor_ = c;
    if (scans_ < kScansBeforeTable) {
        ++scans_;
        lastIndex_ = Scan(palette, count, c);
        return lastIndex_;
    }
    if (cellStart_.empty()) {
        cellStart_.assign(kNumCells, -1);
        cellCount_.assign(kNumCells, 0);
    }
    const int cell = CellOf(c);
    if (cellStart_[cell] < 0)
        BuildCell(cell, palette, count);
    const BYTE* list = candidates_.data() + cellStart_[cell];
    int best = 200000;
    BYTE bestIndex = 0;
    for (unsigned k = 0; k < cellCount_[cell]; ++k) {
        const int d = Distance(palette + list[k] * 4, c);
        if (d < best) {
            best = d;
            bestIndex = list[k];
        }
    }
    lastIndex_ = bestIndex;
    return bestIndex;
}

// An entry can be nearest to some colour of the cell only when its smallest possible distance
// to the cell does not exceed the largest distance of the entry that is surely closest.
// Candidates keep ascending index order so ties still go to the lowest index.
void CNearestColorCache::BuildCell(int cell, const BYTE* palette, unsigned count) {
    const int b0 = (cell % kCellsPerSide) << kCellShift;
    const int g0 = ((cell / kCellsPerSide) % kCellsPerSide) << kCellShift;
    const int r0 = (cell / (kCellsPerSide * kCellsPerSide)) << kCellShift;
    const int span = (1 << kCellShift) - 1;
    int minDist[256];
    int bound = 1 << 30;
    for (unsigned i = 0; i < count; ++i) {
        const BYTE* e = palette + i * 4;
        minDist[i] = MinAxis(e[0], b0, b0 + span) + MinAxis(e[1], g0, g0 + span) +
                     MinAxis(e[2], r0, r0 + span);
        const int maxDist = MaxAxis(e[0], b0, b0 + span) + MaxAxis(e[1], g0, g0 + span) +
                            MaxAxis(e[2], r0, r0 + span);
        bound = std::min(bound, maxDist);
    }
    cellStart_[cell] = static_cast<std::int32_t>(candidates_.size());
    for (unsigned i = 0; i < count; ++i) {
        if (minDist[i] <= bound)
            candidates_.push_back(static_cast<BYTE>(i));
    }
    cellCount_[cell] = static_cast<std::uint16_t>(candidates_.size() - cellStart_[cell]);
}
