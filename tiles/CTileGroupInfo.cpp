#include "tiles/CTileGroupInfo.h"

#include "platform/CrtRandom.h"
#include "tiles/TleNumbers.h"

#include <algorithm>
#include <cstdint>

namespace {

// The next comma-separated field of `rest`, which loses it and its comma.
std::string_view NextField(std::string_view& rest, bool& found) {
    const auto comma = rest.find(',');
    found = comma != std::string_view::npos;
    const std::string_view field = rest.substr(0, comma);
    rest = found ? rest.substr(comma + 1) : std::string_view{};
    return field;
}

} // namespace

void CTileGroupInfo::AddTile(std::string_view text, int tileWidth, int tileHeight, int opacity) {
    CTileInfo tile;
    std::string_view rest = text;
    bool more = false;
    tile.kindText = std::string(NextField(rest, more));
    tile.row = TleNumbers::Int(NextField(rest, more));
    tile.column = TleNumbers::Int(NextField(rest, more));
    const std::string weight = TleNumbers::Trim(more ? rest : std::string_view{});
    tile.weight = weight.empty() ? 1 : TleNumbers::Int(weight);
    tile.tileWidth = tileWidth;
    tile.tileHeight = tileHeight;
    tile.opacity = std::min(opacity, 100);
    tiles.push_back(std::move(tile));
}

const CTileInfo* CTileGroupInfo::PickTile(CrtRandom& random) const {
    if (tiles.empty())
        return nullptr;
    if (tiles.size() == 1)
        return &tiles.front();
    std::int64_t sum = 0;
    for (const CTileInfo& t : tiles)
        sum += std::max(t.weight, 0);
    if (sum <= 0)
        return &tiles.front();
    const std::int64_t r = random.rand() % sum;
    std::int64_t running = 0;
    for (const CTileInfo& t : tiles) {
        running += std::max(t.weight, 0);
        if (running > r)
            return &t;
    }
    return &tiles.back();
}
