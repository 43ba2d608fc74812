// Grows, solves and hand-joins mazes whose cells hold arbitrary words, as a damaged or hostile
// document may: nothing may read outside the cells, loop for ever or leave the frontier list
// out of step with the cells.
//
// Input bytes, in order (missing bytes read as zero): kind selector, columns, rows, wrap
// flags, document flags, tiled, seed, the compass weights N..NW, for the circular kind a ring
// count and that many ring sizes, then two bytes of flags and two of passages per cell of
// every grid, and finally triples (column, row, grid) of cells to join by hand.
#include "ScratchProfile.h"
#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    int Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    WORD NextWord() { return static_cast<WORD>(Next() | (Next() << 8)); }
    bool Done() const { return pos_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void Settle(CGridloomDoc& doc, Bytes& in) {
    static const int kKinds[] = {0, 1, 2, 3, 4, 5, 40};
    MazeSettings& s = doc.Settings();
    s.kind = kKinds[in.Next() % 7];
    s.columns = 1 + in.Next() % 24;
    s.rows = 1 + in.Next() % 24;
    s.fitToPage = 1;
    const int wraps = in.Next();
    doc.docFlags = in.Next() & 0x30;
    s.tiled = in.Next() & 1;
    s.seed = in.Next() - 1;
    for (int d = CompassWeights::N; d <= CompassWeights::NW; ++d) {
        s.compass.values[d] = in.Next() % 5 - 1;
    }
    doc.SetupGrids(false);
    s.wrapHorizontally = wraps & 1;
    s.wrapVertically = (wraps >> 1) & 1;
    doc.UpdateGrowthWeights();
    if (s.kind == KIND_CIRCULAR && doc.GridCount() > 0) {
        std::vector<int> counts(static_cast<std::size_t>(1 + in.Next() % 8));
        for (int& c : counts) {
            c = 1 + in.Next() % 40;
        }
        doc.SetRingCounts(counts);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchProfile scratch("growth");
    std::filesystem::remove(scratch.path);
    CProfile profile(scratch.path);
    ScriptedMessageBox prompts;
    IMessageBox::Installation installed(prompts);
    Bytes in(data, size);

    CGridloomDoc doc(profile);
    Settle(doc, in);
    for (int g = 0; g < doc.GridCount(); ++g) {
        for (MazeCell& cell : doc.GetGrid(g)->Cells()) {
            cell.flags = in.NextWord();
            cell.passages = in.NextWord();
        }
    }
    doc.OnSolveMaze();
    for (int i = 0; i < 8 && !in.Done(); ++i) {
        const int column = in.Next() % 30 - 2;
        const int row = in.Next() % 30 - 2;
        doc.DrawSolutionCell(column, row, in.Next() % 6 - 1);
    }
    std::vector<std::vector<MazeCell>> before;
    for (int g = 0; g < doc.GridCount(); ++g) {
        const auto cells = doc.GetGrid(g)->Cells();
        before.emplace_back(cells.begin(), cells.end());
    }
    if (!doc.OnGenerateMaze()) {
        // A Make Maze that cannot start leaves the cells as they were, however odd they are.
        for (int g = 0; g < doc.GridCount(); ++g) {
            const auto cells = doc.GetGrid(g)->Cells();
            const auto& kept = before[std::size_t(g)];
            if (!std::equal(cells.begin(), cells.end(), kept.begin(), kept.end(),
                            [](const MazeCell& a, const MazeCell& b) {
                                return a.flags == b.flags && a.passages == b.passages;
                            })) {
                std::abort();
            }
        }
    } else {
        // Every cell the grow loop left flagged must be listed, or the next run loses it.
        for (int g = 0; g < doc.GridCount(); ++g) {
            const Object& grid = *doc.GetGrid(g);
            for (int r = 0; r < grid.Height(); ++r) {
                for (int c = 0; c < grid.Width(); ++c) {
                    if (grid.GetCell(c, r).IsFrontier() && !doc.frontier.Contains({c, r, g})) {
                        std::abort();
                    }
                }
            }
        }
    }
    doc.Settings().wrapHorizontally ^= 1;
    doc.OnSolveMaze();
    doc.RegenerateMaze();
    return 0;
}
