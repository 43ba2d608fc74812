#include "document/WkzFieldRanges.h"

#include "maze/MazeProgress.h"
#include "maze/MazeSettings.h"
#include "maze/TemplateTables.h"
#include "platform/TextFormat.h"

#include <cmath>

namespace {

std::string OutOfRange(const char* field, int value, int low, int high) {
    if (low == high)
        return Format("the %s is %d; it must be %d", field, value, low);
    return Format("the %s is %d, outside %d to %d", field, value, low, high);
}

bool In(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

std::string WkzFieldRanges::CheckSettings(const WkzContent& c) {
    struct Field {
        const char* name;
        int value;
        int low;
        int high;
    };
    const Field fields[] = {
        {"number of columns", c.columns, 0, kMaxCellsPerSide},
        {"number of rows", c.rows, 0, kMaxCellsPerSide},
        {"cell size", c.scale, 0, kMaxScale},
        {"page width", c.pageWidth, 1, kMaxPageSide},
        {"page height", c.pageHeight, MazeSettings::kTopBand + 1, kMaxPageSide},
        {"left margin", c.xOffset, -kMaxOffset, kMaxOffset},
        {"top margin", c.yOffset, -kMaxOffset, kMaxOffset},
        // The program never changes the multipliers; any other value only scales the view
        // towards overflow.
        {"width multiplier", c.widthMultiplier, 1, 1},
        {"height multiplier", c.heightMultiplier, 1, 1},
    };
    for (const Field& f : fields)
        if (!In(f.value, f.low, f.high))
            return OutOfRange(f.name, f.value, f.low, f.high);
    return {};
}

std::string WkzFieldRanges::CheckGrid(const GridRecord& g, int index) {
    if (!In(g.ring0Count, 1, kMaxRing0Cells))
        return Format("grid %d has %d inner-ring cells, outside 1 to %d", index, g.ring0Count,
                      kMaxRing0Cells);
    if (!std::isfinite(g.innerRadius) || g.innerRadius <= 0 || g.innerRadius >= 1)
        return Format("grid %d has an inner radius of %.3g of the maze, outside 0 to 1", index,
                      g.innerRadius);
    return {};
}

void WkzFieldRanges::ClampFlags(WkzContent& c) {
    // "Positive: the tiler is reloaded"; the document holds the choice as 0 or 1.
    c.tiled = c.tiled > 0 ? 1 : 0;
    c.flags &= MazeProgress::kUserStart | MazeProgress::kUserStop;
}
