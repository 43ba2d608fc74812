#pragma once
#include "platform/WinTypes.h"

#include <span>

// The two button rows; 0 marks a gap between groups.
class ToolbarLayout {
public:
    static constexpr int kStandardWidth = 16;
    static constexpr int kStandardHeight = 15;
    static constexpr int kEditSize = 40;

    static std::span<const UINT> Standard();
    static std::span<const UINT> Edit();
};
