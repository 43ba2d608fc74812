#pragma once
#include "platform/RgbaPicture.h"

#include <wx/bitmap.h>

// The program's own pictures as wx bitmaps (with their alpha).
wxBitmap WxBitmapFromPicture(const RgbaPicture& picture);
