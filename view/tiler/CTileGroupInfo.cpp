#include "view/tiler/CTileGroupInfo.h"

#include "platform/CrtRandom.h"
#include "view/tiler/TleNumbers.h"

#include <algorithm>
#include <cmath>
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

void CTileGroupInfo::AddTile(std::string_view text, CRaster& sheet, int tileWidth, int tileHeight,
                             int opacity) {
    CTileInfo tile;
    std::string_view rest = text;
    bool more = false;
    tile.kindText = std::string(NextField(rest, more));
    tile.row = TleNumbers::Int(NextField(rest, more));
    tile.column = TleNumbers::Int(NextField(rest, more));
    const std::string weight = TleNumbers::Trim(more ? rest : std::string_view{});
    tile.weight = weight.empty() ? 1 : TleNumbers::Int(weight);

    // The tile's rectangle, cut to the sheet; an empty one leaves the tile without picture.
    if (sheet.IsValid() && tileWidth > 0 && tileHeight > 0) {
        const std::int64_t w = sheet.GetWidth(), h = sheet.GetHeight();
        const std::int64_t left =
            std::clamp((std::int64_t{tile.column} - 1) * tileWidth, std::int64_t{0}, w);
        const std::int64_t top =
            std::clamp((std::int64_t{tile.row} - 1) * tileHeight, std::int64_t{0}, h);
        const std::int64_t right =
            std::clamp(std::int64_t{tile.column} * tileWidth, std::int64_t{0}, w);
        const std::int64_t bottom =
            std::clamp(std::int64_t{tile.row} * tileHeight, std::int64_t{0}, h);
        if (right > left && bottom > top) {
            sheet.Crop(LONG(left), LONG(top), LONG(right), LONG(bottom), &tile.image);
        }
    }
    if (opacity > 0 && tile.image.IsValid() && tile.image.CreateAlpha()) {
        tile.image.EnablePaletteAlpha(false);
        tile.image.SetAlphaMax(255);
        const double level = std::trunc(std::min(opacity, 100) / 100.0 * 255.0);
        tile.image.SetAlphaLevel(static_cast<BYTE>(static_cast<int>(level) & 0xFF));
    }
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
