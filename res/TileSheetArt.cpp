#include "res/TileSheetArt.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

std::uint32_t Rgb(int r, int g, int b) {
    auto c = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return 0xFF000000u | c(r) << 16 | c(g) << 8 | c(b);
}

enum class Look { line, thinBrick, fullBrick, borderBrick, brickWalk, hedge };

struct SheetStyle {
    int pictureId;
    Look look;
    int tile;
};

constexpr SheetStyle kSheets[] = {{180, Look::line, 200},      {181, Look::thinBrick, 200},
                                  {189, Look::fullBrick, 200}, {187, Look::borderBrick, 200},
                                  {188, Look::brickWalk, 200}, {206, Look::brickWalk, 50}};

constexpr std::string_view kDefinition192 = "NAME: My Tile Design2\r\n"
                                            "BMPFILE: test1.gif\r\n"
                                            "PIXELSWIDE: 200\r\n"
                                            "PIXELSHIGH: 200\r\n"
                                            "TILE: N,1,1\r\n"
                                            "TILE: E,1,2\r\n"
                                            "TILE: NE,1,3\r\n"
                                            "TILE: S,1,4\r\n"
                                            "TILE: NS,2,1\r\n"
                                            "TILE: ES,2,2\r\n"
                                            "TILE: NES,2,3\r\n"
                                            "TILE: W,2,4\r\n"
                                            "TILE: NW,3,1\r\n"
                                            "TILE: EW,3,2\r\n"
                                            "TILE: NEW,3,3\r\n"
                                            "TILE: SW,3,4\r\n"
                                            "TILE: NSW,4,1\r\n"
                                            "TILE: ESW,4,2\r\n"
                                            "TILE: NESW,4,3\r\n"
                                            "TILE: TEMPLATE,4,4\r\n"
                                            "TILE: SOLUTION,5,1\r\n"
                                            "TILE: BLACKEN,5,2\r\n";

constexpr std::string_view kDefinition190 = "NAME: Basic Tile Design 50x50\r\n"
                                            "PIXELSWIDE: 50\r\n"
                                            "PIXELSHIGH: 50\r\n"
                                            "TILE: N,1,1\r\n"
                                            "TILE: E,1,2\r\n"
                                            "TILE: NE,1,3\r\n"
                                            "TILE: S,1,4\r\n"
                                            "TILE: NS,2,1\r\n"
                                            "TILE: ES,2,2\r\n"
                                            "TILE: NES,2,3\r\n"
                                            "TILE: W,2,4\r\n"
                                            "TILE: NW,3,1\r\n"
                                            "TILE: EW,3,2\r\n"
                                            "TILE: NEW,3,3\r\n"
                                            "TILE: SW,3,4\r\n"
                                            "TILE: NSW,4,1\r\n"
                                            "TILE: ESW,4,2\r\n"
                                            "TILE: NESW,4,3\r\n"
                                            "TILE: TEMPLATE,4,4\r\n"
                                            "TILE: SOLUTION,5,1\r\n"
                                            "TILE: BLACKEN,5,2\r\n"
                                            "TILE: START,4,3\r\n"
                                            "TILE: STOP,4,3\r\n";

// Draws one tile of a sheet at its place; coordinates are tile-local.
class TilePainter {
public:
    TilePainter(PixelPicture& sheet, int column, int row, int tile)
        : sheet_(sheet), x0_(column * tile), y0_(row * tile), tile_(tile) {}

    void Fill(int left, int top, int right, int bottom, std::uint32_t colour) {
        Each(left, top, right, bottom, [colour](int, int) { return colour; });
    }
    // Bricks with mortar joints, every other course shifted by half a brick; the pattern
    // runs across the whole sheet so neighbouring tiles continue it.
    void Bricks(int left, int top, int right, int bottom, bool outlined) {
        const int course = std::max(3, tile_ / 10);
        const int brick = course * 2;
        Each(left, top, right, bottom, [&](int x, int y) {
            const int gx = x0_ + x, gy = y0_ + y;
            const int shift = (gy / course) % 2 ? brick / 2 : 0;
            const bool joint = gy % course == 0 || (gx + shift) % brick == 0;
            const bool rim =
                outlined && (x == left || y == top || x == right - 1 || y == bottom - 1);
            if (rim)
                return Rgb(60, 24, 16);
            return joint ? Rgb(206, 200, 188) : Rgb(168, 70, 52);
        });
    }
    void Disc(int radius, std::uint32_t colour) {
        const int c = tile_ / 2;
        Each(0, 0, tile_, tile_, [&](int x, int y) {
            const int dx = x - c, dy = y - c;
            return dx * dx + dy * dy <= radius * radius ? colour : Pixel(x, y);
        });
    }
    int Size() const { return tile_; }

private:
    template <class ColourAt>
    void Each(int left, int top, int right, int bottom, ColourAt colourAt) {
        left = std::max(left, 0), top = std::max(top, 0);
        right = std::min(right, tile_), bottom = std::min(bottom, tile_);
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                sheet_.At(x0_ + x, y0_ + y) = colourAt(x, y);
    }
    std::uint32_t Pixel(int x, int y) { return sheet_.At(x0_ + x, y0_ + y); }

    PixelPicture& sheet_;
    int x0_, y0_, tile_;
};

constexpr int kN = 1, kE = 2, kS = 4, kW = 8;

// The wall of each closed side lies along that edge; half of it is in this tile and half in
// the neighbour, so the two halves make one wall.
void DrawWalls(TilePainter& p, int open, int half, Look look) {
    const int t = p.Size();
    auto wall = [&](int l, int tp, int r, int b) {
        if (look == Look::line)
            p.Fill(l, tp, r, b, Rgb(0, 0, 0));
        else
            p.Bricks(l, tp, r, b, look == Look::borderBrick);
    };
    if (!(open & kN))
        wall(0, 0, t, half);
    if (!(open & kS))
        wall(0, t - half, t, t);
    if (!(open & kW))
        wall(0, 0, half, t);
    if (!(open & kE))
        wall(t - half, 0, t, t);
    // Corner posts close the gaps where two open sides meet.
    wall(0, 0, half, half);
    wall(t - half, 0, t, half);
    wall(0, t - half, half, t);
    wall(t - half, t - half, t, t);
}

// A brick path from the tile's middle out through each open side, on grass.
void DrawWalk(TilePainter& p, int open, int half) {
    const int t = p.Size();
    p.Fill(0, 0, t, t, Rgb(84, 150, 64));
    const int a = half * 2, b = t - half * 2;
    p.Bricks(a, a, b, b, false);
    if (open & kN)
        p.Bricks(a, 0, b, a, false);
    if (open & kS)
        p.Bricks(a, b, b, t, false);
    if (open & kW)
        p.Bricks(0, a, a, b, false);
    if (open & kE)
        p.Bricks(b, a, t, b, false);
}

void DrawPassageTile(TilePainter& p, int open, Look look) {
    const int t = p.Size();
    if (look == Look::brickWalk) {
        DrawWalk(p, open, std::max(2, t / 10));
        return;
    }
    const int half = look == Look::fullBrick ? t / 4 : std::max(2, t / 10);
    if (look == Look::hedge) {
        p.Fill(0, 0, t, t, Rgb(40, 110, 40));
        const int a = t / 4, b = t - t / 4;
        const std::uint32_t gravel = Rgb(222, 206, 170);
        p.Fill(a, a, b, b, gravel);
        if (open & kN)
            p.Fill(a, 0, b, a, gravel);
        if (open & kS)
            p.Fill(a, b, b, t, gravel);
        if (open & kW)
            p.Fill(0, a, a, b, gravel);
        if (open & kE)
            p.Fill(b, a, t, b, gravel);
        return;
    }
    p.Fill(0, 0, t, t, look == Look::line ? Rgb(255, 255, 255) : Rgb(244, 236, 214));
    if (open)
        DrawWalls(p, open, half, look);
    else
        p.Fill(0, 0, t, t, look == Look::line ? Rgb(0, 0, 0) : Rgb(120, 50, 36));
}

PixelPicture DrawSheet(const SheetStyle& style) {
    const int t = style.tile;
    PixelPicture sheet{
        4 * t, 5 * t,
        std::vector<std::uint32_t>(std::size_t(20) * t * t, TileSheetArt::kTransparent)};
    for (int kind = 0; kind < 16; ++kind) {
        const int at = kind == 0 ? 15 : kind - 1;
        TilePainter p(sheet, at % 4, at / 4, t);
        DrawPassageTile(p, kind, style.look);
    }
    TilePainter solution(sheet, 0, 4, t);
    solution.Disc(t / 5, Rgb(128, 128, 240));
    TilePainter blacken(sheet, 1, 4, t);
    blacken.Fill(0, 0, t, t, Rgb(0, 0, 0));
    return sheet;
}

} // namespace

const PixelPicture& TileSheetArt::Sheet(int pictureId) {
    static std::mutex lock;
    static std::map<int, PixelPicture> sheets;
    static const PixelPicture none;
    const std::lock_guard guard(lock);
    if (auto it = sheets.find(pictureId); it != sheets.end())
        return it->second;
    for (const SheetStyle& style : kSheets)
        if (style.pictureId == pictureId)
            return sheets.emplace(pictureId, DrawSheet(style)).first->second;
    return none;
}

std::string_view TileSheetArt::Definition(int textId) {
    if (textId == 192)
        return kDefinition192;
    if (textId == 190)
        return kDefinition190;
    return {};
}

PixelPicture TileSheetArt::GardenSheet(int tile) {
    PixelPicture sheet = DrawSheet(SheetStyle{0, Look::hedge, tile});
    // Rarer alternatives of the straight paths: the same path with a flower bed beside it.
    for (const auto& [column, open] : {std::pair{2, kN | kS}, std::pair{3, kE | kW}}) {
        TilePainter p(sheet, column, 4, tile);
        DrawPassageTile(p, open, Look::hedge);
        p.Disc(tile / 10, Rgb(220, 40, 80));
    }
    // A sixth row: the START and STOP cells, open all round with a green or red marker.
    sheet.pixels.resize(sheet.pixels.size() + std::size_t(sheet.width) * tile, kTransparent);
    sheet.height += tile;
    for (const auto& [column, marker] :
         {std::pair{0, Rgb(40, 200, 60)}, std::pair{1, Rgb(220, 30, 30)}}) {
        TilePainter p(sheet, column, 5, tile);
        DrawPassageTile(p, kN | kE | kS | kW, Look::hedge);
        p.Disc(tile / 5, marker);
    }
    return sheet;
}

const PixelPicture& TileSheetArt::Placeholder() {
    static const PixelPicture picture = [] {
        constexpr int kSize = 32;
        PixelPicture p{kSize, kSize, std::vector<std::uint32_t>(kSize * kSize, Rgb(255, 255, 255))};
        TilePainter paint(p, 0, 0, kSize);
        paint.Disc(13, Rgb(200, 0, 0));
        paint.Fill(8, 14, 24, 18, Rgb(255, 255, 255));
        return p;
    }();
    return picture;
}
