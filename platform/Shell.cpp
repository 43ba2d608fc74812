#include "platform/Shell.h"

#include <iostream>

namespace {
IShell*& CurrentShell() {
    static HeadlessShell headless;
    static IShell* current = &headless;
    return current;
}
} // namespace

IShell& IShell::Current() {
    return *CurrentShell();
}

IShell::Installation::Installation(IShell& shell) : previous_(CurrentShell()) {
    CurrentShell() = &shell;
}
IShell::Installation::~Installation() {
    CurrentShell() = previous_;
}

bool HeadlessShell::Open(const std::string& target) {
    std::cerr << "open: " << target << '\n';
    return false;
}

bool RecordingShell::Open(const std::string& target) {
    opened_.push_back(target);
    return true;
}
