#pragma once
// Device coordinates of logical ones mapped lately, one axis at a time. A batch of walls
// along a lattice names the same few hundred columns and rows over and over; remembering their
// device coordinates spares the arithmetic for nearly every point. Valid for one mapping:
// Reset before each batch.
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class DeviceAxisCache {
public:
    // Forgets every coordinate (without touching the memory).
    void Reset();

    // The device coordinate of `v`, from `map(v)` when not remembered.
    template <class Map> LONG Get(LONG v, const Map& map) {
        Entry& e = entries_[(static_cast<std::uint32_t>(v) * 2654435761u) >> (32 - kBits)];
        if (e.generation != generation_ || e.logical != v)
            e = {v, map(v), generation_};
        return e.device;
    }

private:
    static constexpr int kBits = 12;
    struct Entry {
        LONG logical = 0;
        LONG device = 0;
        std::uint32_t generation = 0;
    };

    std::vector<Entry> entries_;
    std::uint32_t generation_ = 0;
};
