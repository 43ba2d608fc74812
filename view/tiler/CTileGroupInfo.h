#pragma once
#include "view/tiler/CTileInfo.h"

#include <string_view>
#include <vector>

class CrtRandom;

// The alternatives of one tile kind, in the order of their lines.
class CTileGroupInfo {
public:
    // Adds the tile a TILE line's value describes ("kind,row,column[,weight]"), cut from
    // `sheet`; with `opacity` above 0 the tile is that many percent opaque.
    void AddTile(std::string_view text, CRaster& sheet, int tileWidth, int tileHeight, int opacity);
    // Chooses one tile by weight with `random`; a single tile costs no draw. Null when
    // the group is empty.
    const CTileInfo* PickTile(CrtRandom& random) const;

    bool Empty() const { return tiles.empty(); }
    std::vector<CTileInfo> tiles;
};
