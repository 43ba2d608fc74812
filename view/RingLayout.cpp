#include "view/RingLayout.h"

#include "platform/TextFormat.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr std::int64_t kCellCap = 4'000'000;
constexpr double kTwoPi = 2 * std::numbers::pi;

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

std::vector<int> RingLayout::CountCells(std::string& error) const {
    const double span = (outerRadius_ - innerRadius_) / ringWidth_;
    if (!(span >= 1.0)) {
        error = "No ring of the circular maze fits on the page.";
        return {};
    }
    if (span > static_cast<double>(kCellCap)) {
        error = Format("The circular maze would have more than %d cells.", int(kCellCap));
        return {};
    }
    const int rows = static_cast<int>(span);
    std::vector<int> counts(static_cast<std::size_t>(rows));
    std::int64_t mult = 1;
    for (int i = 0; i < rows; ++i) {
        const double arc = (i * ringWidth_ + innerRadius_) * kTwoPi * (360.0 / ring0Count_) /
                           360.0 / static_cast<double>(mult);
        if (arc >= 2 * ringWidth_)
            mult *= 2;
        const std::int64_t count = mult * ring0Count_;
        // Every ring is as wide as the outermost in the cell array.
        if (count * rows > kCellCap) {
            error = Format("The circular maze would have more than %d cells.", int(kCellCap));
            return {};
        }
        counts[static_cast<std::size_t>(i)] = static_cast<int>(count);
    }
    return counts;
}
