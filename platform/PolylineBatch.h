#pragma once
#include "platform/CPoint.h"

#include <cstddef>
#include <vector>

// Many lines for one pen, in logical units, handed to a device context in one call. Each run
// is drawn as Polyline draws it (open) or as Polygon outlines it (closed), in the order added;
// the storage is kept across Clear, so a painter filling it band after band allocates once.
class PolylineBatch {
public:
    explicit PolylineBatch(bool closed) : closed_(closed) {}

    bool Closed() const { return closed_; }
    bool Empty() const { return counts_.empty(); }
    std::size_t PointCount() const { return points_.size(); }
    // The longest run added since the last Clear.
    int LongestRun() const { return longest_; }
    const std::vector<CPoint>& Points() const { return points_; }
    const std::vector<int>& Counts() const { return counts_; }

    void AddSegment(CPoint from, CPoint to) {
        points_.push_back(from);
        points_.push_back(to);
        counts_.push_back(2);
        longest_ = longest_ < 2 ? 2 : longest_;
    }
    void AddRun(const CPoint* points, int count);
    void Clear();

private:
    bool closed_;
    int longest_ = 0;
    std::vector<CPoint> points_;
    std::vector<int> counts_;
};
