#include "tiles/GardenTileSet.h"

#include "image/core/CRaster.h"
#include "platform/AtomicFile.h"
#include "res/TileSheetArt.h"

namespace {

constexpr const char* kDefinition =
    "; A hedge maze with gravel paths, made for Orlimber.\r\n"
    "TLEVERSION: 1.6\r\n"
    "NAME: Garden Hedge 40x40\r\n"
    "REVISION: 1\r\n"
    "UNIQUEID: orlimber-garden-hedge-1\r\n"
    "CREDITLINE: Garden Hedge tiles\r\n"
    "COPYRIGHT: Orlimber\r\n"
    "USE: Free to use with Orlimber mazes\r\n"
    "BMPFILE: garden.bmp\r\n"
    "PIXELSWIDE: 40\r\n"
    "PIXELSHIGH: 40\r\n"
    "TRANSRGBCOLOR: FF00FF\r\n"
    "TILE: N,1,1\r\nTILE: E,1,2\r\nTILE: NE,1,3\r\nTILE: S,1,4\r\n"
    "TILE: NS,2,1,4\r\nTILE: NS,5,3,1\r\n"
    "TILE: ES,2,2\r\nTILE: NES,2,3\r\nTILE: W,2,4\r\nTILE: NW,3,1\r\n"
    "TILE: EW,3,2,4\r\nTILE: EW,5,4,1\r\n"
    "TILE: NEW,3,3\r\nTILE: SW,3,4\r\nTILE: NSW,4,1\r\nTILE: ESW,4,2\r\n"
    "TILE: NESW,4,3\r\nTILE: TEMPLATE,4,4\r\n"
    "TILE: SOLUTION,5,1\r\nTILE: BLACKEN,5,2\r\n"
    "TILE: START,6,1\r\nTILE: STOP,6,2\r\n";

} // namespace

std::string GardenTileSet::Write(const std::string& folder) {
    const PixelPicture art = TileSheetArt::GardenSheet(kTile);
    CRaster sheet(DWORD(art.width), DWORD(art.height), 24);
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x) {
            const std::uint32_t c =
                art.pixels[std::size_t(y) * std::size_t(art.width) + std::size_t(x)];
            sheet.SetPixelColor(x, art.height - 1 - y,
                                RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0});
        }
    if (!sheet.Save(folder + "/garden.bmp", CRaster::kTypeBmp))
        return sheet.GetLastError();
    std::string error;
    AtomicFile::Write(folder + "/garden.tle", std::string(kDefinition), error);
    return error;
}
