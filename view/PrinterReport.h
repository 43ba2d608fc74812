#pragma once
#include <string>

class CDC;

// The printer report a support request asks for: the device's sizes, resolution, colours and
// capability flags as text, lines ending in CR LF.
class PrinterReport {
public:
    static std::string Text(const CDC& dc);
};
