#pragma once
#include <wx/bitmap.h>

class CRaster;

// A picture of the image library as a wx bitmap for a picture control; an empty picture gives
// an empty bitmap.
wxBitmap RasterWxBitmap(const CRaster& picture);
