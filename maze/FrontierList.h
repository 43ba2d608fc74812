#pragma once
#include "maze/IFrontierTracker.h"
#include "maze/frontier_location.h"
#include "platform/LargeArrayAllocator.h"

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
    // The index slot of an entry, kNoSlot outside every grid: the first slot of its grid plus
    // the cell's place in that grid's cell array. Callers that know the slot pass it below.
    std::size_t SlotOf(const frontier_location& entry) const;
    std::size_t FirstSlot(int grid) const { return bases_[static_cast<std::size_t>(grid)]; }
    // Appends an entry known not to be listed, at its known slot (inside the grids): the
    // generator's cells carry a frontier flag exactly while they are listed, so it need not
    // look the slot up first, which in a large maze is a read from far memory.
    void AppendNew(std::size_t slot);
    // Remove for an entry whose slot (inside the grids) is known.
    bool RemoveSlot(std::size_t slot);
    bool Contains(const frontier_location& entry) const;
    // Starts fetching the entry's index slot, for a removal soon after.
    void Prefetch(std::size_t slot) const { __builtin_prefetch(&positions_[slot]); }
    void Clear();

    // The grids report cells joining and leaving the frontier here.
    void AddFrontier(int column, int row, int grid) override { Add({column, row, grid}); }
    bool RemoveFrontier(int column, int row, int grid) override {
        return Remove({column, row, grid});
    }

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    frontier_location operator[](std::size_t index) const { return At(entries_[index]); }
    std::vector<frontier_location> Entries() const;
    // Bytes held beside the index, for memory accounting.
    std::size_t EntryBytes() const { return entries_.capacity() * sizeof(std::uint32_t); }

    static constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);

private:
    static constexpr std::int32_t kAbsent = -1;

    void RemoveListed(std::size_t index, std::size_t slot);
    // The cell of a slot inside the grids.
    frontier_location At(std::size_t slot) const;

    // Entries are kept as slots alone: the list is read at random places, and the smaller it
    // is, the more of it stays in the caches. Only a pick turns one back into a place.
    std::vector<std::uint32_t> entries_;
    // List position of every cell, or kAbsent. Read at random places while growing, so it
    // lives on large pages.
    std::vector<std::int32_t, LargeArrayAllocator<std::int32_t>> positions_;
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

inline frontier_location FrontierList::At(std::size_t slot) const {
    std::size_t grid = 0;
    while (grid + 1 < bases_.size() && slot >= bases_[grid + 1]) {
        ++grid;
    }
    const std::size_t place = slot - bases_[grid];
    const auto width = static_cast<std::size_t>(extents_[grid].width);
    return {static_cast<int>(place % width), static_cast<int>(place / width),
            static_cast<int>(grid)};
}

inline bool FrontierList::Add(const frontier_location& entry) {
    const std::size_t slot = SlotOf(entry);
    if (slot == kNoSlot || positions_[slot] != kAbsent) {
        return false;
    }
    AppendNew(slot);
    return true;
}

inline void FrontierList::AppendNew(std::size_t slot) {
    positions_[slot] = static_cast<std::int32_t>(entries_.size());
    entries_.push_back(static_cast<std::uint32_t>(slot));
}

inline bool FrontierList::Remove(const frontier_location& entry) {
    const std::size_t slot = SlotOf(entry);
    return slot != kNoSlot && RemoveSlot(slot);
}

inline bool FrontierList::RemoveSlot(std::size_t slot) {
    if (positions_[slot] == kAbsent) {
        return false;
    }
    RemoveListed(static_cast<std::size_t>(positions_[slot]), slot);
    return true;
}

inline void FrontierList::RemoveAt(std::size_t index) {
    if (index < entries_.size()) {
        RemoveListed(index, entries_[index]);
    }
}

inline void FrontierList::RemoveListed(std::size_t index, std::size_t slot) {
    const std::size_t last = entries_.size() - 1;
    positions_[slot] = kAbsent;
    if (index != last) {
        const std::uint32_t movedSlot = entries_[last];
        entries_[index] = movedSlot;
        positions_[movedSlot] = static_cast<std::int32_t>(index);
    }
    entries_.pop_back();
}
