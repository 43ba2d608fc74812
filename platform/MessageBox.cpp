#include "platform/MessageBox.h"

#include <iostream>

namespace {
IMessageBox*& CurrentBox() {
    static HeadlessMessageBox headless;
    static IMessageBox* current = &headless;
    return current;
}
} // namespace

int DefaultAnswer(UINT type) {
    const UINT buttons = type & 0xF;
    const int defButton = (type & MB_DEFBUTTON3) ? 3 : (type & MB_DEFBUTTON2) ? 2 : 1;
    switch (buttons) {
    case MB_OKCANCEL:
        return defButton == 1 ? IDOK : IDCANCEL;
    case MB_YESNO:
        return defButton == 1 ? IDYES : IDNO;
    case MB_YESNOCANCEL:
        return defButton == 1 ? IDYES : defButton == 2 ? IDNO : IDCANCEL;
    default:
        return IDOK;
    }
}

IMessageBox& IMessageBox::Current() {
    return *CurrentBox();
}

IMessageBox::Installation::Installation(IMessageBox& box) : previous_(CurrentBox()) {
    CurrentBox() = &box;
}
IMessageBox::Installation::~Installation() {
    CurrentBox() = previous_;
}

int HeadlessMessageBox::Show(const std::string& text, const std::string& caption, UINT type) {
    std::cerr << caption << ": " << text << '\n';
    return DefaultAnswer(type);
}

int ScriptedMessageBox::Show(const std::string& text, const std::string& caption, UINT type) {
    shown_.push_back({text, caption, type});
    if (answers_.empty())
        return DefaultAnswer(type);
    const int a = answers_.front();
    answers_.pop_front();
    return a;
}

int AfxMessageBox(const std::string& text, UINT type) {
    return IMessageBox::Current().Show(text, "Orlimber STD", type);
}
