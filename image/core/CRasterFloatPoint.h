#pragma once
// A position in an image's pixel grid with real coordinates (x from the left, y in storage rows).
struct CRasterFloatPoint {
    float x = 0.0f;
    float y = 0.0f;
};
