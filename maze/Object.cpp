#include "maze/Object.h"

#include "maze/TemplateKind.h"

namespace {
// The sides are the rows before the first repeat of the first corner.
int CountSides(std::span<const ShapePoint> shape) {
    if (shape.empty())
        return 0;
    int n = 1;
    while (n < static_cast<int>(shape.size()) &&
           !(shape[n].x == shape[0].x && shape[n].y == shape[0].y))
        ++n;
    return n;
}
} // namespace

Object::Object(std::span<const ShapePoint> shape) : shape_(shape), sideCount_(CountSides(shape)) {}

bool Object::IsAllowedSize(std::int64_t width, std::int64_t height) {
    return width >= 0 && height >= 0 && width * height <= kMaxCells;
}

double Object::SideAngle(int side) const {
    if (side < 1 || side > static_cast<int>(shape_.size()))
        return 0;
    return shape_[side - 1].angle;
}

void Object::SetGridType(int type) {
    gridType_ = type;
    if (type == GRID_RING)
        sideCount_ = 5;
}

bool Object::AllocateCells(int width, int height) {
    if (!IsAllowedSize(width, height))
        return false;
    if (width == width_ && height == height_)
        return true;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const MazeCell blank{static_cast<WORD>(initialFlags), 0};
    cells_.assign(count, blank);
    backup_ = {}; // nothing of the old size is worth copying
    backup_.resize(count);
    width_ = width;
    height_ = height;
    return true;
}

void Object::OpenSide(int side, int column, int row, int grid, IFrontierTracker& frontier) {
    if (GetCell(column, row).OpenSide(side))
        frontier.RemoveFrontier(column, row, grid);
}

void Object::CloseSide(int side, int column, int row) {
    GetCell(column, row).CloseSide(side);
}

int Object::CountPassages(int column, int row, int* onlySide) const {
    return GetCell(column, row).CountPassages(onlySide);
}

void Object::MarkFrontier(int column, int row, int grid, IFrontierTracker& frontier) {
    if (GetCell(column, row).TryMarkFrontier())
        frontier.AddFrontier(column, row, grid);
}
