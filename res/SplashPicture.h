#pragma once
#include "res/PixelPicture.h"

// The start-up picture (bitmap 168): a 400 x 300 maze on a blue field, the same on every run.
class SplashPicture {
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    static const PixelPicture& Get();

private:
    static PixelPicture Draw();
};
