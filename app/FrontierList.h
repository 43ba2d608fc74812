#pragma once
#include "app/IFrontierTracker.h"
#include "app/frontier_location.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The generator's frontier: an ordered list without duplicates. Entries are picked by index,
// so the order is part of a seed's maze: adding appends, removing moves the last entry into
// the hole. A position index per cell makes the duplicate check and the removal constant time.
class FrontierList : public IFrontierTracker {
public:
    struct Extent {
        int width = 0;
        int height = 0;
        friend bool operator==(const Extent&, const Extent&) = default;
    };

    // Fits the index to grids of these sizes (grid i has extents[i]). Entries that no longer
    // lie inside their grid are dropped; the others keep their order.
    void Reshape(const std::vector<Extent>& extents);
    const std::vector<Extent>& Extents() const { return extents_; }

    // Appends the entry unless it is present; false also for an entry outside every grid.
    bool Add(const frontier_location& entry);
    // Removes the entry (the last entry takes its place); false when it is not listed.
    bool Remove(const frontier_location& entry);
    // Removes the entry at `index` the same way.
    void RemoveAt(std::size_t index);
    bool Contains(const frontier_location& entry) const;
    // Starts fetching the entry's index slot, for a removal soon after.
    void Prefetch(const frontier_location& entry) const {
        const std::size_t slot = SlotOf(entry);
        if (slot != kNoSlot) {
            __builtin_prefetch(&positions_[slot]);
        }
    }
    void Clear();

    // The grids report cells joining and leaving the frontier here.
    void AddFrontier(int column, int row, int grid) override { Add({column, row, grid}); }
    bool RemoveFrontier(int column, int row, int grid) override {
        return Remove({column, row, grid});
    }

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    const frontier_location& operator[](std::size_t index) const { return entries_[index]; }
    const std::vector<frontier_location>& Entries() const { return entries_; }

private:
    static constexpr std::int32_t kAbsent = -1;
    static constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);

    std::size_t SlotOf(const frontier_location& entry) const;
    void RemoveListed(std::size_t index, std::size_t slot);

    std::vector<frontier_location> entries_;
    std::vector<std::int32_t> positions_; // list position of every cell, or kAbsent
    std::vector<Extent> extents_;
    std::vector<std::size_t> bases_; // first slot of each grid
};

// The calls below run for every carved cell, so they are inline.
inline std::size_t FrontierList::SlotOf(const frontier_location& entry) const {
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

inline bool FrontierList::Add(const frontier_location& entry) {
    const std::size_t slot = SlotOf(entry);
    if (slot == kNoSlot || positions_[slot] != kAbsent) {
        return false;
    }
    positions_[slot] = static_cast<std::int32_t>(entries_.size());
    entries_.push_back(entry);
    return true;
}

inline bool FrontierList::Remove(const frontier_location& entry) {
    const std::size_t slot = SlotOf(entry);
    if (slot == kNoSlot || positions_[slot] == kAbsent) {
        return false;
    }
    RemoveListed(static_cast<std::size_t>(positions_[slot]), slot);
    return true;
}

inline void FrontierList::RemoveAt(std::size_t index) {
    if (index < entries_.size()) {
        RemoveListed(index, SlotOf(entries_[index]));
    }
}

// The slot is passed in: reading the entry back from a far part of the list would stall.
inline void FrontierList::RemoveListed(std::size_t index, std::size_t slot) {
    const std::size_t last = entries_.size() - 1;
    positions_[slot] = kAbsent;
    if (index != last) {
        entries_[index] = entries_[last];
        positions_[SlotOf(entries_[last])] = static_cast<std::int32_t>(index);
    }
    entries_.pop_back();
}
