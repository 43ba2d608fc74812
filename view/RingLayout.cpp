#include "view/RingLayout.h"

#include <cmath>

namespace {

// As the ring counts are planned, so that both agree on the ring width.
constexpr double kTwoPi = 6.2831853071796;

} // namespace

std::optional<RingLayout> RingLayout::Fit(int width, int height, int band, int ring0Count,
                                          double innerFraction, std::string& error) {
    RingLayout l;
    l.centreX_ = width / 2;
    l.centreY_ = (height + band) / 2;
    // Touch the top of a portrait page, the left edge of a landscape one.
    if (l.centreX_ > -l.centreY_)
        l.centreX_ = -l.centreY_;
    else
        l.centreY_ = -l.centreX_;
    l.outerRadius_ = static_cast<int>(l.centreX_ * 0.99);
    if (ring0Count <= 0) {
        error = "The circular maze needs at least one cell in its innermost ring.";
        return std::nullopt;
    }
    l.ring0Count_ = ring0Count;
    l.innerRadius_ = l.outerRadius_ * innerFraction;
    if (!(l.innerRadius_ > 0) || l.outerRadius_ <= 0) {
        error = "The circular maze needs an inner radius above zero.";
        return std::nullopt;
    }
    l.angleStep_ = 360.0 / ring0Count;
    l.ringWidth_ = kTwoPi * l.innerRadius_ / ring0Count;
    if (!(l.ringWidth_ >= 1.0)) {
        error = "The rings of this circular maze would be narrower than 0.001 inch.";
        return std::nullopt;
    }
    return l;
}
