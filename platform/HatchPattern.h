#pragma once

// Which pixels of the 8 x 8 hatch cell carry the hatch colour; the cell is aligned to the
// device origin.
inline bool HatchCovers(int hatch, int x, int y) {
    const int u = x & 7, v = y & 7;
    switch (hatch) {
    case 0: // horizontal
        return v == 7;
    case 1: // vertical
        return u == 7;
    case 2: // forward diagonal, top-left to bottom-right
        return u == v;
    case 3: // backward diagonal
        return u + v == 7;
    case 4: // cross
        return u == 7 || v == 7;
    case 5: // diagonal cross
        return u == v || u + v == 7;
    default:
        return false;
    }
}
