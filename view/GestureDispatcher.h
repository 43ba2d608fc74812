#pragma once
#include <string>

class IViewWindow;

// Turns a recognised gesture name into the command of its table row: posts the command to
// the window (the frame's router gates it later, as for a menu choice), plays the row's
// sound and counts misses. After a few misses in a row it offers the gesture help.
class GestureDispatcher {
public:
    static constexpr const char* kHelpQuestion =
        "You have missed several Mouse Gesture, would you like to open the Mouse Gesture help?";
    static constexpr const char* kHelpCaption = "Mouse Gesture Help?";
    static constexpr int kHelpStep = 3;

    // The gesture help document; without one, Yes opens nothing.
    void SetHelpFile(const std::string& path) { helpFile_ = path; }
    // The matched row, or -1 for a miss (an empty name never matches).
    int Dispatch(const std::string& name, int activeLayer, IViewWindow& window);
    // Opens the help document; a missing file or a desktop that declines says nothing.
    void OpenHelp() const;

    // Misses since the last match, and how many bring the help question. Both live for the
    // whole run and are never stored.
    int Misses() const { return misses_; }
    int HelpThreshold() const { return threshold_; }

private:
    void CountMiss();

    std::string helpFile_;
    int misses_ = 0;
    int threshold_ = kHelpStep;
};
