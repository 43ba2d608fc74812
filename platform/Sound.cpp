#include "platform/Sound.h"

namespace {
ISound*& CurrentSound() {
    static SilentSound silent;
    static ISound* current = &silent;
    return current;
}
} // namespace

std::string ISound::FileOf(const std::string& folder, const std::string& name) {
    return folder + name + ".wav";
}

ISound& ISound::Current() {
    return *CurrentSound();
}

ISound::Installation::Installation(ISound& sound) : previous_(CurrentSound()) {
    CurrentSound() = &sound;
}
ISound::Installation::~Installation() {
    CurrentSound() = previous_;
}
