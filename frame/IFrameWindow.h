#pragma once

// The bars of the main window that the user can show and hide.
enum class FrameBar { Standard, Edit, Status };

// What the frame's commands ask of the main window.
class IFrameWindow {
public:
    virtual ~IFrameWindow() = default;
    virtual bool IsBarVisible(FrameBar bar) const = 0;
    virtual void ShowBar(FrameBar bar, bool show) = 0;
    // Moves the keyboard focus to the next (or previous) pane of the splitter.
    virtual void ActivateNextPane(bool forward) = 0;
    // Closes the main window, which ends the program.
    virtual void CloseFrame() = 0;
};
