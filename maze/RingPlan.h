#pragma once
#include <string>
#include <vector>

// The rings of a circular maze: how many rings fit between the inner and the outer radius
// and how many cells each ring holds (the inner ring's count, doubled whenever the cells of a
// ring have grown to twice the ring width).
class RingPlan {
public:
    static RingPlan For(double outerRadius, int ring0Count, double innerFraction);

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    // One count per ring, innermost first.
    const std::vector<int>& Counts() const { return counts_; }

private:
    std::vector<int> counts_;
    std::string error_;
};
