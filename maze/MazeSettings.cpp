#include "maze/MazeSettings.h"

#include <cmath>
#include <limits>

namespace {
// trunc(length / (cells + margin %)), kept inside int; 0 when nothing sensible fits.
int FitCell(double length, int cells, int marginPercent) {
    const double across = cells + marginPercent / 100.0;
    if (length <= 0 || !(across > 0))
        return 0;
    const double size = std::trunc(length / across);
    if (size >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(size);
}
} // namespace

int MazeSettings::FitCellWidth(int marginX) const {
    return fitToPage ? FitCell(pageWidth, columns, marginX) : scale;
}

int MazeSettings::FitCellHeight(int marginY) const {
    return fitToPage ? FitCell(static_cast<double>(pageHeight) - kTopBand, rows, marginY) : scale;
}
