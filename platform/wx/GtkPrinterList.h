#pragma once
#include <string>
#include <vector>

// A printer the desktop offers; a virtual one (such as printing to a file) is no device.
struct SystemPrinter {
    std::string name;
    bool isDefault = false;
    bool isVirtual = false;
};

// The desktop's printers. The toolkit's own lookup waits for every printing system to answer,
// for ever when one never does; this one gives up after `milliseconds`, and sooner once
// `wanted` (or, when empty, a default printer) has turned up.
std::vector<SystemPrinter> ListSystemPrinters(const std::string& wanted, int milliseconds);
