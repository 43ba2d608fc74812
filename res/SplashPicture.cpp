#include "res/SplashPicture.h"

namespace {

constexpr int kCell = 20;
constexpr int kWall = 3;
constexpr std::uint32_t kWallColour = 0xFFF2E6C4u;

// A fixed choice per cell from its position, so the picture draws on no random sequence.
bool OpensNorth(int column, int row) {
    std::uint32_t h = static_cast<std::uint32_t>(column) * 2654435761u ^
                      static_cast<std::uint32_t>(row) * 2246822519u;
    h = (h ^ (h >> 15)) * 2246822519u;
    return ((h >> 20) & 1u) != 0;
}

std::uint32_t Field(int x, int y) {
    const int blue = 120 + (y * 100) / SplashPicture::kHeight;
    const int green = 40 + (x * 60) / SplashPicture::kWidth;
    return 0xFF000000u | 20u << 16 | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue);
}

} // namespace

const PixelPicture& SplashPicture::Get() {
    static const PixelPicture picture = Draw();
    return picture;
}

// A binary-tree maze: every cell opens north or east, the top row and the right column run
// straight, so the walls always form one connected maze.
PixelPicture SplashPicture::Draw() {
    PixelPicture p{kWidth, kHeight, std::vector<std::uint32_t>(kWidth * kHeight)};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            p.At(x, y) = Field(x, y);
    const int columns = kWidth / kCell;
    const int rows = kHeight / kCell;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const bool top = row == 0;
            const bool right = column == columns - 1;
            const bool north = !top && (right || OpensNorth(column, row));
            const int x0 = column * kCell;
            const int y0 = row * kCell;
            for (int i = 0; i < kCell; ++i)
                for (int w = 0; w < kWall; ++w) {
                    if (!north)
                        p.At(x0 + i, y0 + w) = kWallColour;
                    if (north && !right)
                        p.At(x0 + kCell - 1 - w, y0 + i) = kWallColour;
                }
        }
    }
    for (int i = 0; i < kWidth; ++i)
        for (int w = 0; w < kWall; ++w)
            p.At(i, kHeight - 1 - w) = kWallColour;
    for (int i = 0; i < kHeight; ++i)
        for (int w = 0; w < kWall; ++w) {
            p.At(w, i) = kWallColour;
            p.At(kWidth - 1 - w, i) = kWallColour;
        }
    return p;
}
