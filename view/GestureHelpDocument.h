#pragma once
#include "platform/WinTypes.h"

#include <string>

class CDC;

// The gesture help document: one row per gesture of the table with the gesture's shape, the
// layer it works on and the command it runs, laid out on letter-sized pages.
class GestureHelpDocument {
public:
    static constexpr const char* kTitle = "Orlimber - Mouse Gestures";
    static constexpr int kDpi = 150;
    static constexpr int kRowsPerPage = 12;

    // Writes the document as a PDF file; false when the file cannot be written.
    static bool WritePdf(const std::string& path);
    // Draws the pages on a printing context between its StartDoc and EndDoc.
    static bool Print(CDC& dc);

    static std::string LayerName(const char* letter);
    static std::string CommandName(DWORD command);
};
