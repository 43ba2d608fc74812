#pragma once
#include "document/WkzContent.h"

#include <cstdint>
#include <string>

// The values a maze document file may bring into the document: those the settings pages
// accept (and the few the program keeps fixed), so that no file can hand the document or the
// view a number the program could never have made. Fields only ever read as flags are
// clamped to their flag values; every other value out of range refuses the file.
class WkzFieldRanges {
public:
    // Cells long, cells wide and scale, as the dimensions page accepts them.
    static constexpr int kMaxCellsPerSide = 100000;
    static constexpr int kMaxScale = 100000;
    // Page sides and offsets in thousandths of an inch (10,000 inches): far beyond any page,
    // and far enough from the int limits that positions on the page can't overflow.
    static constexpr int kMaxPageSide = 10'000'000;
    static constexpr int kMaxOffset = 10'000'000;
    // The inner-radius cells of the dimensions page.
    static constexpr int kMaxRing0Cells = 10000;

    // Empty when the header fields may be taken; else the reason, naming the field.
    static std::string CheckSettings(const WkzContent& content);
    // Likewise for one grid record.
    static std::string CheckGrid(const GridRecord& grid, int index);
    // Brings the flag fields to the values the program gives them.
    static void ClampFlags(WkzContent& content);
    // A document file larger than this is refused before it is read: the largest grids the
    // cell cap allows, one picture at the image library's pixel limit, and room for the rest.
    static constexpr std::uint64_t kMaxFileBytes =
        std::uint64_t{8} * 4'000'000 * 4 + (std::uint64_t{1} << 29) + (std::uint64_t{1} << 20);
};
