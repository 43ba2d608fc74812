// Settings page 2: the Dimensions page.
#pragma once

// The Dimensions page's values; the window checks the ranges below.
class PP2 {
public:
    static constexpr int kMinCells = 1;
    static constexpr int kMaxCells = 100000;
    static constexpr int kMaxInnerCells = 10000;
    static constexpr float kMinInnerPercent = 0.1f;
    static constexpr float kMaxInnerPercent = 99.9f;

    int cellsLong = 0; // rows
    int cellsWide = 0; // columns
    int scale = 0;
    int innerRadiusCells = 0;
    float innerRadiusPercent = 0;
    int fitToPage = 0;
};
