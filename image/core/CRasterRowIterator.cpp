#include "image/core/CRasterRowIterator.h"

#include "image/core/CRaster.h"

CRasterRowIterator::CRasterRowIterator(CRaster* image) : image_(image) {
    row_ = image_ ? image_->GetBits(0) : nullptr;
}

BYTE* CRasterRowIterator::SetRow(LONG n) {
    if (image_ && n >= 0 && static_cast<DWORD>(n) < image_->GetHeight()) {
        y_ = n;
        row_ = image_->GetBits(static_cast<DWORD>(n));
    }
    return row_;
}
