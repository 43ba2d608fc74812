#pragma once
#include <string>

// A window that shows the fetcher's progress as its text. The window layer implements it by
// setting the text and repainting at once; the fetcher never owns it.
class IStatusWindow {
public:
    virtual ~IStatusWindow() = default;
    virtual void ShowText(const std::string& text) = 0;
};
