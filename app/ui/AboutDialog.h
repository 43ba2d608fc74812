#pragma once
#include "app/IAboutBox.h"

#include <functional>

class wxWindow;

// Dialog 100: the program's name and version, with a button that opens the home page.
class AboutDialog : public IAboutBox {
public:
    static constexpr int kVersionText = 1029;
    static constexpr int kLinkButton = 1028;

    AboutDialog(std::function<wxWindow*()> parent, std::function<void()> openHomePage)
        : parent_(std::move(parent)), openHomePage_(std::move(openHomePage)) {}
    void Show(const std::string& text) override;

private:
    std::function<wxWindow*()> parent_;
    std::function<void()> openHomePage_;
};
