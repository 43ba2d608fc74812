#pragma once
#include <optional>
#include <string>

// Where the rings of a circular maze sit on the page, in logical units (0.001 inch, y up, the
// page below y = 0). Angles are compass degrees: 0 at the top, growing clockwise.
class RingLayout {
public:
    // Centres the rings across a page area `width` wide and `height` high (negative), above a
    // band of `band` units at its foot. Refuses a zero ring-0 count or radius and rings under
    // 1 unit wide; `error` then says why.
    static std::optional<RingLayout> Fit(int width, int height, int band, int ring0Count,
                                         double innerFraction, std::string& error);

    int CentreX() const { return centreX_; }
    int CentreY() const { return centreY_; }
    int OuterRadius() const { return outerRadius_; }
    int Ring0Count() const { return ring0Count_; }
    double RingWidth() const { return ringWidth_; }
    double AngleStep() const { return angleStep_; }
    double InnerRadius() const { return innerRadius_; }

    friend bool operator==(const RingLayout&, const RingLayout&) = default;

private:
    int centreX_ = 0;
    int centreY_ = 0;
    int outerRadius_ = 0;
    int ring0Count_ = 0;
    double ringWidth_ = 0;
    double angleStep_ = 0;
    double innerRadius_ = 0;
};
