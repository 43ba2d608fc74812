#pragma once
#include "image/core/CRaster.h"
#include "res/PixelPicture.h"

// A 24-bit copy of one of the program's own pictures, for the dialogs that show them.
CRaster RasterFromPicture(const PixelPicture& picture);
