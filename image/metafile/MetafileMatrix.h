#pragma once

// An affine map of the plane in the metafile's own order: x' = m11 x + m21 y + dx,
// y' = m12 x + m22 y + dy.
struct MetafileMatrix {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

    struct Point {
        double x = 0, y = 0;
    };

    Point Apply(double x, double y) const {
        return {m11 * x + m21 * y + dx, m12 * x + m22 * y + dy};
    }
    // This map followed by `then`.
    MetafileMatrix Then(const MetafileMatrix& then) const {
        return {m11 * then.m11 + m12 * then.m21,         m11 * then.m12 + m12 * then.m22,
                m21 * then.m11 + m22 * then.m21,         m21 * then.m12 + m22 * then.m22,
                dx * then.m11 + dy * then.m21 + then.dx, dx * then.m12 + dy * then.m22 + then.dy};
    }
    // Axis-parallel maps keep rectangles and ellipses what they are.
    bool KeepsAxes() const { return m12 == 0 && m21 == 0; }
};
