#include "app/FrontierList.h"

void FrontierList::Reshape(const std::vector<Extent>& extents) {
    if (extents == extents_) {
        return;
    }
    std::vector<frontier_location> kept = std::move(entries_);
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

std::size_t FrontierList::SlotOf(const frontier_location& entry) const {
    if (entry.grid < 0 || static_cast<std::size_t>(entry.grid) >= extents_.size()) {
        return kNoSlot;
    }
    const Extent& e = extents_[static_cast<std::size_t>(entry.grid)];
    if (entry.column < 0 || entry.column >= e.width || entry.row < 0 || entry.row >= e.height) {
        return kNoSlot;
    }
    return bases_[static_cast<std::size_t>(entry.grid)] + static_cast<std::size_t>(entry.column) +
           static_cast<std::size_t>(entry.row) * static_cast<std::size_t>(e.width);
}

bool FrontierList::Add(const frontier_location& entry) {
    const std::size_t slot = SlotOf(entry);
    if (slot == kNoSlot || positions_[slot] != kAbsent) {
        return false;
    }
    positions_[slot] = static_cast<std::int32_t>(entries_.size());
    entries_.push_back(entry);
    return true;
}

bool FrontierList::Remove(const frontier_location& entry) {
    const std::size_t slot = SlotOf(entry);
    if (slot == kNoSlot || positions_[slot] == kAbsent) {
        return false;
    }
    RemoveAt(static_cast<std::size_t>(positions_[slot]));
    return true;
}

void FrontierList::RemoveAt(std::size_t index) {
    if (index >= entries_.size()) {
        return;
    }
    const std::size_t last = entries_.size() - 1;
    positions_[SlotOf(entries_[index])] = kAbsent;
    if (index != last) {
        entries_[index] = entries_[last];
        positions_[SlotOf(entries_[index])] = static_cast<std::int32_t>(index);
    }
    entries_.pop_back();
}

bool FrontierList::Contains(const frontier_location& entry) const {
    const std::size_t slot = SlotOf(entry);
    return slot != kNoSlot && positions_[slot] != kAbsent;
}

void FrontierList::Clear() {
    for (const frontier_location& entry : entries_) {
        positions_[SlotOf(entry)] = kAbsent;
    }
    entries_.clear();
}
