#pragma once
#include <string>

// The About box (dialog 100): shows the program's name and version; its link buttons run the
// home-page command. The window layer supplies the dialog.
class IAboutBox {
public:
    virtual ~IAboutBox() = default;
    virtual void Show(const std::string& text) = 0;
};
