#include "dialogs/CDFilterCircleTransform.h"

#include "image/core/CRaster.h"

bool CDFilterCircleTransform::Apply(CRaster& destination, const CRaster& source) {
    CRaster result = source;
    random_.srand(1); // the C library's starting state
    if (!result.ApplyJitter(kRadius, random_))
        return false;
    return destination.TakeOver(result, true);
}
