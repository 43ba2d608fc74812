#pragma once
#include <cstdint>
#include <string>

// The help file's bytes, or the message to show instead.
struct HelpFileContents {
    std::string bytes;
    std::string error; // empty when the whole file was read
};

class HelpFileReader {
public:
    static constexpr const char* kFileName = "help.rtf";
    static constexpr std::uint64_t kMaxBytes = 16u << 20;
    static HelpFileContents Read(const std::string& helpFolder);
};
