#include "platform/CoordinateMapping.h"
#include "platform/CrtRandom.h"
#include "platform/DeviceAxisCache.h"
#include "platform/GdiConstants.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// The bulk axes replace MulDiv's division by a multiplication; every wall of a maze goes
// through them, so they must agree with the point mapping to the last unit, at the halves
// where rounding turns and at the ends of the range.
TEST(DeviceAxis, MapsAsThePointMappingDoes) {
    CrtRandom random;
    random.srand(52);
    const auto wide = [&] {
        return static_cast<LONG>((static_cast<std::uint32_t>(random.rand()) << 17) ^
                                 (static_cast<std::uint32_t>(random.rand()) << 2) ^
                                 static_cast<std::uint32_t>(random.rand()));
    };
    const LONG extents[] = {1, -1, 2, -3, 7, 100, -100, 254, 1000, 65535, -7510, 9500, 1 << 30};
    for (int round = 0; round < 400; ++round) {
        CoordinateMapping m(96, 96);
        m.SetMapMode(MM_ANISOTROPIC);
        const LONG we = round < 169 ? extents[round % 13] : wide() % 100000 + 1;
        const LONG ve = round < 169 ? extents[round / 13] : wide() % 100000 - 50000;
        m.SetWindowExt({we, -we / 2 - 1});
        m.SetViewportExt({ve, ve / 3 + 1});
        m.SetWindowOrg({random.rand() % 2000 - 1000, random.rand() % 2000 - 1000});
        m.SetViewportOrg({random.rand() % 300, random.rand() % 300});
        const DeviceAxis x = m.XAxis(), y = m.YAxis();
        for (int i = 0; i < 200; ++i) {
            const LONG small = random.rand() % 4000 - 2000;
            const LONG ends[] = {INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1};
            const LONG v = i < 4 ? ends[i] : i % 4 == 0 ? wide() >> (random.rand() % 24) : small;
            const CPoint expected = m.ToDevice({v, v});
            ASSERT_EQ(x(v), expected.x) << we << " " << ve << " " << v;
            ASSERT_EQ(y(v), expected.y) << we << " " << ve << " " << v;
        }
    }
}

// A batch maps through the tables when its points repeat and directly when they do not; the
// tables are reused across batches of different mappings. Either way every point maps as the
// point mapping does.
TEST(DeviceAxis, BatchesMapAsThePointMappingDoesWithOrWithoutTheTables) {
    CrtRandom random;
    random.srand(7);
    DeviceAxisCache xs, ys;
    for (int round = 0; round < 6; ++round) {
        CoordinateMapping m(96, 96);
        m.SetMapMode(MM_ANISOTROPIC);
        m.SetWindowExt({9500 + round * 37, -(7510 + round)});
        m.SetViewportExt({1021 - round * 50, 811});
        m.SetWindowOrg({round * 13, -round * 7});
        const DeviceAxis x = m.XAxis(), y = m.YAxis();
        std::vector<CPoint> in;
        for (int i = 0; i < 5000; ++i) {
            const bool lattice = round % 2 == 0 || i > 3000;
            in.push_back(lattice ? CPoint{random.rand() % 40 * 250, random.rand() % 40 * -250}
                                 : CPoint{random.rand() % 20000, random.rand() % 20000 - 10000});
        }
        std::vector<CPoint> out(in.size());
        xs.Reset();
        ys.Reset();
        DeviceAxisCache::MapPoints(xs, ys, in.data(), in.size(), out.data(), x, y);
        for (std::size_t i = 0; i < in.size(); ++i)
            ASSERT_EQ(out[i], m.ToDevice(in[i])) << round << " " << i;
    }
}

} // namespace
