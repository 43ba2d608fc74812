#include "app/MazeCell.h"

#include <bit>

namespace {
WORD SideBit(int side) {
    return (side >= 1 && side <= 16) ? static_cast<WORD>(1u << (side - 1)) : 0;
}
} // namespace

bool MazeCell::TryMarkFrontier() {
    if (passages != 0 || (flags & CELL_NOT_ELIGIBLE & ~CELL_FRONTIER) != 0)
        return false;
    flags |= CELL_FRONTIER;
    return true;
}

bool MazeCell::OpenSide(int side) {
    passages |= SideBit(side);
    if (!IsFrontier())
        return false;
    flags &= static_cast<WORD>(~CELL_FRONTIER);
    return true;
}

void MazeCell::CloseSide(int side) {
    passages &= static_cast<WORD>(~SideBit(side));
}

bool MazeCell::HasPassage(int side) const {
    return (passages & SideBit(side)) != 0;
}

int MazeCell::CountPassages(int* onlySide) const {
    if (passages == 0)
        return 0;
    int count = std::popcount(passages);
    if (count == 1 && onlySide)
        *onlySide = std::countr_zero(passages) + 1;
    if (flags & (CELL_START | CELL_STOP))
        ++count;
    return count;
}
