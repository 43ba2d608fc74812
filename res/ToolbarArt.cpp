#include "res/ToolbarArt.h"

#include "res/CairoSketch.h"
#include "res/CommandIds.h"
#include "res/ToolbarLayout.h"

#include <algorithm>
#include <cmath>

namespace {

using Sketch = CairoSketch;
using Colour = CairoSketch::Colour;
using Fill = CairoSketch::Fill;

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kGrey{128, 128, 128};
constexpr Colour kLight{208, 208, 208};
constexpr Colour kYellow{240, 200, 64};
constexpr Colour kBlue{40, 80, 200};
constexpr Colour kRed{210, 30, 30};
constexpr Colour kGreen{0, 190, 0};
constexpr Colour kSky{140, 200, 250};
constexpr Colour kGrass{60, 160, 60};
constexpr Colour kSolution{128, 128, 240};
constexpr Colour kBrown{150, 100, 50};

// Standard bar, 16 by 15.

void DrawNew(Sketch& s) {
    s.Poly({{3.5, 0.5}, {9.5, 0.5}, {12.5, 3.5}, {12.5, 14.5}, {3.5, 14.5}}, kWhite, kBlack);
    s.Line({{9.5, 0.5}, {9.5, 3.5}, {12.5, 3.5}}, kBlack);
}

void DrawOpen(Sketch& s) {
    s.Poly({{0.5, 3.5}, {5.5, 3.5}, {6.5, 5.5}, {13.5, 5.5}, {13.5, 13.5}, {0.5, 13.5}}, kYellow,
           kBlack);
    s.Poly({{2.5, 8.5}, {15.5, 8.5}, {13.5, 13.5}, {0.5, 13.5}}, {{255, 230, 130}}, kBlack);
    s.Line({{9.5, 1.5}, {12.5, 1.5}, {12.5, 4.5}}, kBlack);
}

void DrawSave(Sketch& s) {
    s.Rect(1.5, 0.5, 13, 14, kBlue, kBlack);
    s.Rect(4.5, 0.5, 7, 5, kWhite, kBlack);
    s.Rect(4.5, 9.5, 7, 5, kLight, kBlack);
    s.Rect(9, 10.5, 1.5, 3, kBlue, std::nullopt);
}

void DrawCut(Sketch& s) {
    s.Line({{4, 0.5}, {10, 9}}, kGrey, 1.5);
    s.Line({{12, 0.5}, {6, 9}}, kGrey, 1.5);
    s.Circle(4.5, 11.5, 2.5, std::nullopt, kBlack, 1.3);
    s.Circle(11.5, 11.5, 2.5, std::nullopt, kBlack, 1.3);
}

void DrawCopy(Sketch& s) {
    s.Rect(0.5, 0.5, 8, 10, kWhite, kBlack);
    s.Rect(6.5, 4.5, 8, 10, kWhite, kBlack);
    for (double y : {7.5, 9.5, 11.5})
        s.Line({{8, y}, {13, y}}, kBlue);
}

void DrawPaste(Sketch& s) {
    s.Rect(1.5, 1.5, 10, 12, kBrown, kBlack);
    s.Rect(4.5, 0.5, 4, 3, kGrey, kBlack);
    s.Rect(6.5, 5.5, 8, 9, kWhite, kBlack);
    for (double y : {8.5, 10.5, 12.5})
        s.Line({{8, y}, {13, y}}, kBlue);
}

void DrawPrint(Sketch& s) {
    s.Rect(3.5, 0.5, 9, 6, kWhite, kBlack);
    s.Rect(0.5, 5.5, 15, 6, kLight, kBlack);
    s.Rect(3.5, 9.5, 9, 5, kWhite, kBlack);
    s.Rect(12, 7, 2, 1.5, kGreen, std::nullopt);
}

void DrawAbout(Sketch& s) {
    s.Circle(8, 7.5, 7, kBlue, kBlack);
    s.Text("?", 8, 12.5, 12, kWhite);
}

void DrawLandscape(Sketch& s, double x, double y, double w, double h) {
    s.Rect(x, y, w, h, kSky, kBlack);
    s.Poly({{x + 0.5, y + h - 0.5}, {x + w * 0.4, y + h * 0.45}, {x + w - 0.5, y + h - 0.5}},
           kGrass, std::nullopt);
    s.Circle(x + w * 0.75, y + h * 0.3, h * 0.15, kYellow, std::nullopt);
}

void DrawBackgroundLayer(Sketch& s) {
    DrawLandscape(s, 0.5, 0.5, 12, 10);
    s.Rect(5.5, 6.5, 10, 8, std::nullopt, kGrey);
}

void DrawMazeLayer(Sketch& s) {
    s.Rect(0.5, 0.5, 15, 14, kWhite, kBlack);
    s.Line({{5.5, 0.5}, {5.5, 9.5}}, kBlack);
    s.Line({{10.5, 5.5}, {10.5, 14.5}}, kBlack);
    s.Line({{5.5, 9.5}, {8.5, 9.5}}, kBlack);
    s.Line({{10.5, 5.5}, {13.5, 5.5}}, kBlack);
    s.Line({{0.5, 5.5}, {3.5, 5.5}}, kBlack);
}

void DrawForegroundLayer(Sketch& s) {
    s.Rect(0.5, 0.5, 10, 8, kLight, kGrey);
    DrawLandscape(s, 4.5, 5.5, 11, 9);
}

void DrawTextLayer(Sketch& s) {
    s.Text("T", 8, 13.5, 16, kRed);
}

// Edit bar, 40 by 40.

void DrawGridBack(Sketch& s) {
    s.Rect(2.5, 2.5, 35, 35, kWhite, kGrey);
    for (double v : {14.5, 25.5}) {
        s.Line({{v, 2.5}, {v, 37.5}}, kLight);
        s.Line({{2.5, v}, {37.5, v}}, kLight);
    }
}

void DrawMazeSetup(Sketch& s) {
    s.Rect(2.5, 2.5, 35, 35, kWhite, kBlack);
    s.Line({{2.5, 14.5}, {25.5, 14.5}}, kBlack, 2);
    s.Line({{14.5, 25.5}, {37.5, 25.5}}, kBlack, 2);
    const double cx = 25, cy = 25;
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        s.Line({{cx + 7 * std::cos(a), cy + 7 * std::sin(a)},
                {cx + 11 * std::cos(a), cy + 11 * std::sin(a)}},
               kGrey, 4);
    }
    s.Circle(cx, cy, 8, kGrey, kBlack);
    s.Circle(cx, cy, 3, kWhite, kBlack);
}

void DrawDelete(Sketch& s) {
    s.Line({{8, 8}, {32, 32}}, kRed, 6);
    s.Line({{32, 8}, {8, 32}}, kRed, 6);
}

void DrawReset(Sketch& s) {
    DrawGridBack(s);
    s.Rect(14.5, 14.5, 11, 11, kWhite, kBlack, 2);
    s.Arc(20, 20, 13, 200, 340, kBlue, 3);
    s.Poly({{30, 8}, {36, 15}, {27, 16}}, kBlue, std::nullopt);
}

void DrawBlacken(Sketch& s) {
    DrawGridBack(s);
    s.Rect(2.5, 14.5, 23, 11, kBlack, kBlack);
    s.Rect(14.5, 2.5, 11, 12, kBlack, kBlack);
}

void DrawWhiten(Sketch& s) {
    s.Rect(2.5, 2.5, 35, 35, kBlack, kBlack);
    s.Rect(14.5, 14.5, 11, 11, {{208, 208, 64}}, kWhite);
    s.Poly({{20, 30}, {30, 20}, {38, 28}, {28, 38}}, {{250, 160, 180}}, kBlack);
}

void DrawStack(Sketch& s, bool raise) {
    const Colour chosen{230, 120, 40};
    if (raise) {
        s.Rect(12.5, 20.5, 16, 12, kLight, kBlack);
        s.Rect(18.5, 26.5, 16, 12, kLight, kBlack);
        s.Rect(6.5, 14.5, 16, 12, chosen, kBlack);
        s.Arrow(30, 20, 2, 5, kGreen);
    } else {
        s.Rect(6.5, 14.5, 16, 12, kLight, kBlack);
        s.Rect(12.5, 20.5, 16, 12, kLight, kBlack);
        s.Rect(18.5, 26.5, 16, 12, chosen, kBlack);
        s.Arrow(10, 1, 12, 5, kRed);
    }
}

void DrawStart(Sketch& s) {
    DrawGridBack(s);
    s.Rect(5.5, 5.5, 29, 29, {{0, 255, 0}}, kBlack);
    s.Text("S", 20, 29, 20, kBlack);
}

void DrawStop(Sketch& s) {
    const double r = 17, c = 20;
    const double k = r * std::tan(M_PI / 8);
    s.Poly({{c - k, c - r},
            {c + k, c - r},
            {c + r, c - k},
            {c + r, c + k},
            {c + k, c + r},
            {c - k, c + r},
            {c - r, c + k},
            {c - r, c - k}},
           {{255, 0, 0}}, kBlack);
    s.Text("STOP", 20, 24.5, 11, kWhite);
}

void DrawDrawSolution(Sketch& s) {
    DrawGridBack(s);
    s.Line({{8, 32}, {8, 20}, {20, 20}, {20, 9}, {31, 9}}, kSolution, 4);
    s.Poly({{24, 35}, {36, 23}, {39, 26}, {27, 38}}, kYellow, kBlack);
    s.Poly({{24, 35}, {27, 38}, {21, 39}}, {{240, 210, 170}}, kBlack);
}

void DrawGrow(Sketch& s) {
    DrawGridBack(s);
    s.Circle(20, 20, 5, kRed, kBlack);
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 2;
        const double ca = std::cos(a), sa = std::sin(a);
        s.Line({{20 + 8 * ca, 20 + 8 * sa}, {20 + 16 * ca, 20 + 16 * sa}}, kGreen, 3);
        s.Poly({{20 + 18.5 * ca, 20 + 18.5 * sa},
                {20 + 13 * ca - 4 * sa, 20 + 13 * sa + 4 * ca},
                {20 + 13 * ca + 4 * sa, 20 + 13 * sa - 4 * ca}},
               kGreen, std::nullopt);
    }
}

using Drawer = void (*)(Sketch&);

struct Art {
    UINT id;
    Drawer draw;
};

constexpr Art kStandardArt[] = {
    {ID_FILE_NEW, DrawNew},
    {ID_FILE_OPEN, DrawOpen},
    {ID_FILE_SAVE, DrawSave},
    {ID_EDIT_CUT, DrawCut},
    {ID_EDIT_COPY, DrawCopy},
    {ID_EDIT_PASTE, DrawPaste},
    {ID_FILE_PRINT, DrawPrint},
    {ID_APP_ABOUT, DrawAbout},
    {ID_LAYER_BACKGROUND, DrawBackgroundLayer},
    {ID_LAYER_MAZE, DrawMazeLayer},
    {ID_LAYER_FOREGROUND, DrawForegroundLayer},
    {ID_LAYER_TEXT, DrawTextLayer},
};

constexpr Art kEditArt[] = {
    {ID_MAZE_SETUP, DrawMazeSetup},
    {ID_DELETE_ITEM, DrawDelete},
    {ID_TOOL_RESET, DrawReset},
    {ID_TOOL_BLACKEN, DrawBlacken},
    {ID_TOOL_WHITEN, DrawWhiten},
    {ID_BRING_TO_TOP, [](Sketch& s) { DrawStack(s, true); }},
    {ID_MOVE_TO_BOTTOM, [](Sketch& s) { DrawStack(s, false); }},
    {ID_TOOL_START, DrawStart},
    {ID_TOOL_STOP, DrawStop},
    {ID_TOOL_DRAW_SOLUTION, DrawDrawSolution},
    {ID_TOOL_GROW, DrawGrow},
};

template <size_t N> Drawer FindDrawer(const Art (&table)[N], UINT id) {
    for (const Art& a : table)
        if (a.id == id)
            return a.draw;
    return nullptr;
}

RgbaPicture Render(Drawer draw, int width, int height) {
    Sketch sketch(width, height);
    draw(sketch);
    return sketch.Take();
}

} // namespace

RgbaPicture ToolbarArt::Draw(UINT command) {
    if (Drawer d = FindDrawer(kStandardArt, command))
        return Render(d, ToolbarLayout::kStandardWidth, ToolbarLayout::kStandardHeight);
    if (Drawer d = FindDrawer(kEditArt, command))
        return Render(d, ToolbarLayout::kEditSize, ToolbarLayout::kEditSize);
    return {};
}
