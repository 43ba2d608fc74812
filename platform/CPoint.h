#pragma once
#include "platform/WinTypes.h"

class CSize;

class CPoint : public POINT {
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(LONG px, LONG py) : POINT{px, py} {}
    constexpr CPoint(const POINT& p) : POINT(p) {}

    void Offset(LONG dx, LONG dy) {
        x += dx;
        y += dy;
    }
    friend constexpr bool operator==(const CPoint& a, const CPoint& b) {
        return a.x == b.x && a.y == b.y;
    }
    constexpr CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
    constexpr CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
    constexpr CPoint operator-() const { return {-x, -y}; }
    CPoint& operator+=(const CPoint& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    CPoint& operator-=(const CPoint& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
};
