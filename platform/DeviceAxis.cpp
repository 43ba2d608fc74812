#include "platform/DeviceAxis.h"

DeviceAxis::DeviceAxis(LONG windowOrg, LONG windowExt, LONG viewportOrg, LONG viewportExt)
    : windowOrg_(windowOrg), viewportOrg_(viewportOrg), num_(viewportExt),
      den_(static_cast<unsigned long long>(windowExt < 0 ? -static_cast<long long>(windowExt)
                                                         : windowExt)),
      negativeDen_(windowExt < 0), divisor_(static_cast<double>(den_)) {}
