#include "view/RingWalls.h"

#include "maze/MazeCell.h"
#include "platform/PolylineBatch.h"
#include "view/RingCellGeometry.h"

#include <utility>

namespace {

constexpr int kInnerChords = 10;

} // namespace

void RingWalls::Load(int ring, int first, int last) {
    if (ring == ring_ && first == first_ && last == last_)
        return;
    const bool shared = ring == ring_ + 1 && first == first_ && last == last_ && ring_ >= 0 &&
                        geometry_.OuterIsNextInner(ring_);
    if (shared) {
        std::swap(inner_, outer_);
    } else {
        geometry_.Boundary(ring, false, first, last, inner_);
    }
    geometry_.Boundary(ring, true, first, last, outer_);
    ring_ = ring;
    first_ = first;
    last_ = last;
    outerChords_ = geometry_.BoundaryChords(ring, true);
}

void RingWalls::AddWalls(const MazeCell& cell, int column, PolylineBatch& batch) const {
    const int c = column - first_;
    const CPoint* in = inner_.data() + c * kInnerChords;
    const CPoint* out = outer_.data() + c * outerChords_;
    const bool split = outerChords_ == 2 * kInnerChords;
    const int sides = split ? 5 : 4;
    for (int s = 1; s <= sides; ++s) {
        if (cell.HasPassage(s))
            continue;
        switch (s) {
        case 1: {
            const CPoint radial[2] = {in[0], out[0]};
            batch.AddRun(radial, 2);
            break;
        }
        case 2:
            batch.AddRun(in, kInnerChords + 1);
            break;
        case 3: {
            const CPoint radial[2] = {in[kInnerChords], out[outerChords_]};
            batch.AddRun(radial, 2);
            break;
        }
        case 4:
            batch.AddRun(out + (split ? kInnerChords : 0), kInnerChords + 1);
            break;
        default:
            batch.AddRun(out, kInnerChords + 1);
            break;
        }
    }
}
