#include "platform/RegionFrame.h"

#include <algorithm>

namespace {

class InsideMask {
public:
    explicit InsideMask(const PolygonScanner& shape)
        : box_(shape.Bounds()), bits_(static_cast<size_t>(box_.Width()) * box_.Height(), 0) {
        std::vector<PolygonScanner::Span> spans;
        for (int y = box_.top; y < box_.bottom; ++y) {
            shape.Row(y, spans);
            for (const auto& s : spans)
                std::fill(bits_.begin() + Index(s.x0, y), bits_.begin() + Index(s.x1, y), 1);
        }
    }
    bool In(int x, int y) const { return box_.PtInRect({x, y}) && bits_[Index(x, y)]; }
    const CRect& Box() const { return box_; }

private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y - box_.top) * box_.Width() + (x - box_.left);
    }
    CRect box_;
    std::vector<char> bits_;
};

bool OnFrame(const InsideMask& mask, int x, int y, int width, int height) {
    if (!mask.In(x, y))
        return false;
    for (int k = 1; k <= width; ++k)
        if (!mask.In(x - k, y) || !mask.In(x + k, y))
            return true;
    for (int k = 1; k <= height; ++k)
        if (!mask.In(x, y - k) || !mask.In(x, y + k))
            return true;
    return false;
}

} // namespace

std::vector<CRect> RegionFrameRuns(const PolygonScanner& shape, int width, int height) {
    std::vector<CRect> runs;
    if (shape.IsEmpty())
        return runs;
    const InsideMask mask(shape);
    const CRect& b = mask.Box();
    for (int y = b.top; y < b.bottom; ++y) {
        for (int x = b.left; x < b.right;) {
            if (!OnFrame(mask, x, y, width, height)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < b.right && OnFrame(mask, x, y, width, height))
                ++x;
            runs.push_back({start, y, x, y + 1});
        }
    }
    return runs;
}
