// Feeds arbitrary values through the settings sheet into a document and walks the grids it
// builds: nothing may divide by zero, overflow or allocate without bound.
//
// Input: little-endian 32-bit fields in this order (missing bytes read as zero): kind
// selector, columns, rows, scale, fit to page, page height, page width (both in 0.001 inch),
// left margin (float bits), top margin (0.001 inch), inner ring cells, inner radius percent
// (float bits),
// wrap flags, then the nine compass weights.
#include "ScratchProfile.h"
#include "document/CGridloomDoc.h"
#include "document/ISettingsSheet.h"
#include "maze/RingPlan.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "platform/MessageBox.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::int32_t Next() {
        std::uint8_t b[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4 && pos_ < size_; ++i)
            b[i] = data_[pos_++];
        return static_cast<std::int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) |
                                         (static_cast<std::uint32_t>(b[3]) << 24));
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

struct FuzzSheet : ISettingsSheet {
    explicit FuzzSheet(Reader& in) : in_(in) {}
    bool Run(const std::string&, int, SettingsPages& p) override {
        static const int kKinds[] = {0, 1, 2, 3, 4, 5, 40, 7};
        p.style.kind = kKinds[static_cast<std::uint32_t>(in_.Next()) % 8];
        p.dimensions.cellsWide = in_.Next();
        p.dimensions.cellsLong = in_.Next();
        p.dimensions.scale = in_.Next();
        p.dimensions.fitToPage = in_.Next() & 1;
        p.page.height = static_cast<float>(in_.Next()) / 1000.0f;
        p.page.width = static_cast<float>(in_.Next()) / 1000.0f;
        p.page.leftMargin = std::bit_cast<float>(in_.Next());
        p.page.topMargin = static_cast<float>(in_.Next()) / 1000.0f;
        p.dimensions.innerRadiusCells = in_.Next();
        p.dimensions.innerRadiusPercent = std::bit_cast<float>(in_.Next());
        const int wraps = in_.Next();
        p.style.wrapHorizontally = wraps & 1;
        p.style.wrapVertically = (wraps >> 1) & 1;
        int* compass[] = {&p.growth.center, &p.growth.n,  &p.growth.ne, &p.growth.e, &p.growth.se,
                          &p.growth.s,      &p.growth.sw, &p.growth.w,  &p.growth.nw};
        for (int* c : compass)
            *c = in_.Next();
        return true;
    }
    Reader& in_;
};

// Visits the sides of a bounded sample of cells.
void Walk(const CGridloomDoc& doc) {
    for (int g = 0; g < doc.GridCount(); ++g) {
        const Object& grid = *doc.GetGrid(g);
        const int stepC = grid.Width() / 32 + 1;
        const int stepR = grid.Height() / 32 + 1;
        for (int r = 0; r < grid.Height(); r += stepR)
            for (int c = 0; c < grid.Width(); c += stepC)
                for (int s = 0; s <= grid.SideCount() + 1; ++s)
                    (void)doc.FindNeighbour(c, r, g, s);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A fresh profile each time, so a run depends on its input alone.
    static const ScratchProfile scratch("settings");
    std::filesystem::remove(scratch.path);
    CProfile profile(scratch.path);
    ScriptedMessageBox prompts;
    IMessageBox::Installation installed(prompts);
    Reader in(data, size);
    FuzzSheet sheet(in);

    CGridloomDoc doc(profile);
    doc.OnFileNew();
    doc.SetSettingsSheet(&sheet);
    doc.OnMazeSetup();
    (void)doc.GetCellWidth();
    (void)doc.GetCellHeight();
    if (doc.Settings().kind == KIND_CIRCULAR && doc.GridCount() > 0) {
        const Object& grid = *doc.GetGrid(0);
        const RingPlan plan = RingPlan::For(3700, grid.ring0Count, grid.innerRadius);
        if (plan.Ok())
            doc.SetRingCounts(plan.Counts());
    }
    Walk(doc);
    return 0;
}
