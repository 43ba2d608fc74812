#pragma once
// Walks the storage rows of an image for the decoders.
#include "platform/WinTypes.h"

class CRaster;

class CRasterRowIterator {
public:
    explicit CRasterRowIterator(CRaster* image);

    // Moves to row n when it exists (0 <= n < height); otherwise stays. Returns the row.
    BYTE* SetRow(LONG n);
    BYTE* GetRow() const { return row_; }
    LONG GetRowNumber() const { return y_; }
    LONG GetColumn() const { return x_; }
    void SetColumn(LONG x) { x_ = x; }

private:
    LONG x_ = 0;
    LONG y_ = 0;
    LONG counter1_ = 0;
    LONG counter2_ = 0;
    BYTE* row_ = nullptr;
    CRaster* image_ = nullptr;
};
