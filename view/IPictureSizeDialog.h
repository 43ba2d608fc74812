#pragma once

// The export size the user picks: a picture of x by y pixels, or the maze's own size on the
// screen.
struct PictureSize {
    int x = 1024;
    int y = 768;
    bool screenSize = false;
};

// Asks for the export size; the window layer provides it. False: cancelled.
class IPictureSizeDialog {
public:
    virtual ~IPictureSizeDialog() = default;
    virtual bool Ask(PictureSize& size) = 0;
};
