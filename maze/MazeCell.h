#pragma once
#include "platform/WinTypes.h"

#include <bit>

// Flags kept in the low half of a cell word.
enum : WORD {
    CELL_FRONTIER = 0x0001,
    CELL_BLACKENED = 0x0002,
    CELL_ERASED = 0x0004,
    CELL_START = 0x0010,
    CELL_STOP = 0x0020,
    CELL_HIDDEN = 0x0040,
    CELL_SOLUTION = 0x8000,
};
// A cell with any of these flags is never carved (0x0008 has no meaning of its own).
constexpr WORD CELL_NOT_ELIGIBLE = 0x000F;
// Every flag but the generator's and solver's marks.
constexpr WORD CELL_KEEP_ON_CLEAR = 0x7FFE;

// One cell: flags in the low half, the passage mask in the high half (bit d-1 set means side d
// is open). The low half is stored first.
struct MazeCell {
    WORD flags = 0;
    WORD passages = 0;

    bool IsFrontier() const { return (flags & CELL_FRONTIER) != 0; }
    bool IsCarved() const { return passages != 0; }
    // Marks an uncarved, eligible cell as frontier; false when the cell can't join.
    bool TryMarkFrontier();
    // Opens side s (1..16); true when the cell was frontier (and no longer is).
    bool OpenSide(int side);
    void CloseSide(int side);
    bool HasPassage(int side) const;
    // Passages counted, an end cell with any passage counting one more; `onlySide` gets the
    // side when exactly one passage bit is set (untouched otherwise).
    int CountPassages(int* onlySide = nullptr) const;
    void SetSolution() { flags |= CELL_SOLUTION; }

    friend bool operator==(const MazeCell&, const MazeCell&) = default;
};
static_assert(sizeof(MazeCell) == 4);

// The cell operations run for every step of growing and solving, so they are inline.
inline WORD MazeCellSideBit(int side) {
    return (side >= 1 && side <= 16) ? static_cast<WORD>(1u << (side - 1)) : 0;
}

inline bool MazeCell::TryMarkFrontier() {
    if (passages != 0 || (flags & CELL_NOT_ELIGIBLE & ~CELL_FRONTIER) != 0)
        return false;
    flags |= CELL_FRONTIER;
    return true;
}

inline bool MazeCell::OpenSide(int side) {
    passages |= MazeCellSideBit(side);
    if (!IsFrontier())
        return false;
    flags &= static_cast<WORD>(~CELL_FRONTIER);
    return true;
}

inline void MazeCell::CloseSide(int side) {
    passages &= static_cast<WORD>(~MazeCellSideBit(side));
}

inline bool MazeCell::HasPassage(int side) const {
    return (passages & MazeCellSideBit(side)) != 0;
}

inline int MazeCell::CountPassages(int* onlySide) const {
    if (passages == 0)
        return 0;
    int count = std::popcount(passages);
    if (count == 1 && onlySide)
        *onlySide = std::countr_zero(passages) + 1;
    if (flags & (CELL_START | CELL_STOP))
        ++count;
    return count;
}
