#pragma once
#include "res/PixelPicture.h"

// One brick with its mortar along the top and the left, tiled over an empty view with every
// other row shifted by half a brick.
class BrickPicture {
public:
    static const PixelPicture& Get();

private:
    static PixelPicture Draw();
};
