#pragma once
#include "res/PixelPicture.h"

// The eyedropper the More Colors dialog shows: 16 x 16 on white, which draws transparent.
class EyedropperPicture {
public:
    static const PixelPicture& Get();
};
