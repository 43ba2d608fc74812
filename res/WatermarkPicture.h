#pragma once
#include "res/PixelPicture.h"

// The faint picture tiled under a maze page when it holds no layer objects: a small pale
// circular labyrinth.
class WatermarkPicture {
public:
    static const PixelPicture& Get();

private:
    static PixelPicture Draw();
};
