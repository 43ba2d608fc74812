#pragma once
#include <optional>
#include <string>
#include <string_view>

// The steering values a page carries in its title: "@A#B#C#D#E#F", optionally with a message
// between '[' and ']' anywhere in the title. Values are read in order until one does not
// match; the ones read are given in the units the pane uses.
class AdTitle {
public:
    // The values found, each already converted (B minutes, E and F seconds to milliseconds)
    // and kept within 0..INT_MAX, except mode A as written.
    struct Values {
        std::optional<int> mode;            // A
        std::optional<int> rotationMs;      // B
        std::optional<int> loadHeight;      // C
        std::optional<int> secondHeight;    // D
        std::optional<int> openDelayMs;     // E
        std::optional<int> collapseDelayMs; // F
        std::string message;
    };

    static bool IsControl(std::string_view title) { return !title.empty() && title[0] == '@'; }
    // Reads a title-control string; nothing is found in titles that do not begin with '@'.
    static Values Parse(std::string_view title);
    // The text between the first '[' and the first ']', empty when there is none.
    static std::string Message(std::string_view title);
};
