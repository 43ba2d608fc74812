#pragma once
// Device coordinates of logical ones mapped lately, one axis at a time. A batch of walls
// along a lattice names the same few hundred columns and rows over and over; remembering their
// device coordinates spares the arithmetic for nearly every point. Valid for one mapping:
// Reset before each batch.
#include "platform/CPoint.h"
#include "platform/WinTypes.h"

#include <algorithm>
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
    // in registers for the whole loop. Walls along a lattice repeat their columns and rows and
    // gain from the tables; points that rarely repeat (arcs) lose to them, so when the first
    // points mostly miss, the rest are mapped directly.
    template <class MapX, class MapY>
    static void MapPoints(DeviceAxisCache& xs, DeviceAxisCache& ys, const CPoint* in,
                          std::size_t count, CPoint* out, const MapX& mapX, const MapY& mapY) {
        std::size_t misses = 0;
        const auto countedX = [&mapX, &misses](LONG v) {
            ++misses;
            return mapX(v);
        };
        const auto countedY = [&mapY, &misses](LONG v) {
            ++misses;
            return mapY(v);
        };
        const Lookup x{xs}, y{ys};
        const std::size_t trial = std::min(count, kTrialPoints);
        for (std::size_t i = 0; i < trial; ++i)
            out[i] = {x(in[i].x, countedX), y(in[i].y, countedY)};
        if (misses * 2 > trial) {
            for (std::size_t i = trial; i < count; ++i)
                out[i] = {mapX(in[i].x), mapY(in[i].y)};
        } else {
            for (std::size_t i = trial; i < count; ++i)
                out[i] = {x(in[i].x, mapX), y(in[i].y, mapY)};
        }
    }

private:
    static constexpr int kBits = 12;
    static constexpr std::size_t kTrialPoints = 1024;
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
