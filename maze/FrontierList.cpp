#include "maze/FrontierList.h"

void FrontierList::Reshape(const std::vector<Extent>& extents) {
    if (extents == extents_) {
        return;
    }
    const std::vector<frontier_location> kept = Entries();
    entries_.clear();
    extents_ = extents;
    bases_.assign(extents_.size(), 0);
    std::size_t total = 0;
    for (std::size_t g = 0; g < extents_.size(); ++g) {
        bases_[g] = total;
        if (extents_[g].width > 0 && extents_[g].height > 0) {
            total += static_cast<std::size_t>(extents_[g].width) *
                     static_cast<std::size_t>(extents_[g].height);
        }
    }
    positions_.assign(total, kAbsent);
    for (const frontier_location& entry : kept) {
        Add(entry);
    }
}

bool FrontierList::Contains(const frontier_location& entry) const {
    const std::size_t slot = SlotOf(entry);
    return slot != kNoSlot && positions_[slot] != kAbsent;
}

void FrontierList::Clear() {
    for (const std::uint32_t slot : entries_) {
        positions_[slot] = kAbsent;
    }
    entries_.clear();
}

std::vector<frontier_location> FrontierList::Entries() const {
    std::vector<frontier_location> entries;
    entries.reserve(entries_.size());
    for (const std::uint32_t slot : entries_) {
        entries.push_back(At(slot));
    }
    return entries;
}
