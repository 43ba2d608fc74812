#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The feedback sounds the program installs, made from plain sine notes: a rising pair when
// a gesture is found, a falling pair when it is not, one short high note while the view
// waits for a stroke. Each is a mono 16-bit PCM wave file.
class FeedbackTones {
public:
    static constexpr int kSampleRate = 22050;

    static std::span<const char* const> Names();
    // The whole file of a sound; empty for a name that is not one of them.
    static std::vector<std::uint8_t> WaveFile(const std::string& name);
};
