#pragma once

// Sizes of the desktop's window parts that drawing code asks for by index. The parts have the
// fixed classic values (this program does not follow the desktop theme); only the screen comes
// from the display.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;

int GetSystemMetrics(int index);

// The screen the program shows on (a documented singleton): the window layer records the
// display's size and depth at start-up, tests set their own. Until then a 1024 x 768 screen
// of 32 bits.
class ScreenMetrics {
public:
    struct Screen {
        int width = 1024;
        int height = 768;
        int bitsPerPixel = 32;
    };
    static Screen Get();
    // Sizes below 1 and depths outside 1..32 are ignored.
    static void Set(const Screen& screen);
};
