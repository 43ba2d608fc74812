#pragma once
#include <wx/app.h>
#include <wx/window.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Saves what the X server shows of `window` (frame included) as a PNG in the folder the test
// run keeps its results in. Taken by ImageMagick from the root window: a toolkit screen
// grab repeats its first picture for the rest of the process.
inline bool SaveScreenShot(wxWindow& window, const std::string& name) {
    wxTheApp->Yield(true);
    const char* out = std::getenv("ORLIMBER_TEST_OUT");
    const std::string folder = out ? out : ".";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const wxRect area = window.GetScreenRect();
    const std::string geometry = std::to_string(area.width) + "x" + std::to_string(area.height) +
                                 "+" + std::to_string(area.x) + "+" + std::to_string(area.y);
    const std::string command = "import -window root -crop " + geometry + " +repage '" + folder +
                                "/" + name + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}
