#pragma once
#include <string>

class CProfile;

// Reads the file that /p or /pt names before any window exists, so that a file that cannot
// be printed ends the program with its reason on the terminal instead of in a box that nobody
// may be there to answer.
class PrintFileCheck {
public:
    // Empty when `file` loads as a maze; else why it does not.
    static std::string Problem(const std::string& file, CProfile& profile);
};
