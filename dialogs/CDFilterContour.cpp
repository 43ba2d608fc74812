#include "dialogs/CDFilterContour.h"

#include "image/core/CRaster.h"

bool CDFilterContour::Apply(CRaster& destination, const CRaster& source) {
    CRaster result = source;
    if (!result.ApplyContour())
        return false;
    return destination.TakeOver(result, true);
}
