#pragma once
// Device coordinates of logical ones mapped lately, one axis at a time. A batch of walls
// along a lattice names the same few hundred columns and rows over and over; remembering their
// device coordinates spares the arithmetic for nearly every point. Valid for one mapping:
// Reset before each batch.
#include "platform/CPoint.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class DeviceAxisCache {
public:
    // Forgets every coordinate (without touching the memory).
    void Reset();

    // The device coordinate of `v`, from `map(v)` when not remembered.
    template <class Map> LONG Get(LONG v, const Map& map) { return Lookup{*this}(v, map); }

    // Maps `count` points, x through `xs` and y through `ys`, with the tables' addresses held
    // in registers for the whole loop rather than reloaded for each point.
    template <class MapX, class MapY>
    static void MapPoints(DeviceAxisCache& xs, DeviceAxisCache& ys, const CPoint* in,
                          std::size_t count, CPoint* out, const MapX& mapX, const MapY& mapY) {
        const Lookup x{xs}, y{ys};
        for (std::size_t i = 0; i < count; ++i)
            out[i] = {x(in[i].x, mapX), y(in[i].y, mapY)};
    }

private:
    static constexpr int kBits = 12;
    struct Entry {
        std::uint64_t key = 0; // generation << 32 | coordinate
        LONG device = 0;
    };

    struct Lookup {
        explicit Lookup(DeviceAxisCache& cache) : table(cache.entries_.data()), tag(cache.tag_) {}
        template <class Map> LONG operator()(LONG v, const Map& map) const {
            const auto u = static_cast<std::uint32_t>(v);
            Entry& e = table[(u * 2654435761u) >> (32 - kBits)];
            // The generation and the coordinate in one word: one comparison per lookup.
            const std::uint64_t key = tag | u;
            if (e.key != key)
                e = {key, map(v)};
            return e.device;
        }
        Entry* table;
        std::uint64_t tag;
    };

    std::vector<Entry> entries_;
    std::uint32_t generation_ = 0;
    std::uint64_t tag_ = 0; // generation_ << 32
};
