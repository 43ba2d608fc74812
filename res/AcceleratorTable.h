#pragma once
#include "platform/Accelerator.h"

#include <span>

// The main window's key table.
class AcceleratorTable {
public:
    static std::span<const ACCEL> Main();
    // The command bound to `stroke`, or 0.
    static UINT Find(const KeyStroke& stroke);
    static bool Matches(const ACCEL& accel, const KeyStroke& stroke);
};
