#pragma once
#include "platform/RgbaPicture.h"

#include <cairo.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

// A cairo surface and context for one picture the program draws itself, freed together.
class CairoSketch {
public:
    struct Colour {
        int r, g, b;
    };
    using Fill = std::optional<Colour>;
    using Point = std::pair<double, double>;

    CairoSketch(int width, int height);

    void Rect(double x, double y, double w, double h, Fill fill, Fill outline, double pen = 1);
    void Poly(std::initializer_list<Point> points, Fill fill, Fill outline, double pen = 1);
    void Line(std::initializer_list<Point> points, Colour colour, double pen = 1);
    void Circle(double cx, double cy, double r, Fill fill, Fill outline, double pen = 1);
    // Degrees, clockwise from the positive x axis.
    void Arc(double cx, double cy, double r, double from, double to, Colour colour, double pen);
    void Text(const char* text, double x, double baseline, double size, Colour colour);
    void Arrow(double x, double fromY, double toY, double half, Colour colour);

    RgbaPicture Take();

private:
    void Path(std::initializer_list<Point> points);
    void Finish(Fill fill, Fill outline, double pen);

    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface_;
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr_;
};
