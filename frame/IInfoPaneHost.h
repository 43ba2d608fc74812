#pragma once

// The window that holds the information pane: the pane's timers and the view's drawing set the
// pane's height through it. -1 keeps the stored value; (0, 0) collapses the pane.
class IInfoPaneHost {
public:
    virtual ~IInfoPaneHost() = default;
    virtual void SetInfoPaneHeight(int height, int minimum) = 0;
    // The minimum height last set.
    virtual int InfoPaneMinimum() const = 0;
};
