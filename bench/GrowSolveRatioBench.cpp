// Make Maze and Solve Maze on a 1000 x 1000 Box, each timed against a bare loop on flat arrays
// that does the same work with the same random sequence: the same frontier list (random pick,
// the last entry moved into a hole), the same choices and the same dead-end fill. The bare
// loop's maze is compared with the program's, so both are known to do one job. Runs alternate
// within this process and the medians' ratio is reported ("ratio"), since the machine is shared.
#include "document/CGridloomDoc.h"
#include "maze/DirectionChooser.h"
#include "maze/NeighbourCache.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "platform/CrtRandom.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int kSide = 1000;
constexpr int kSeed = 1234;
constexpr int kSides = 4;

// A growing tree and a dead-end fill on one flat array of a Box grid.
class BareBox {
public:
    BareBox(int width, int height, const Object& grid, const NeighbourCache& neighbours)
        : width_(width), height_(height), cells_(std::size_t(width) * height),
          backup_(cells_.size()), positions_(cells_.size(), -1), weights_(grid.GrowthWeights()) {
        for (int s = 1; s <= kSides; ++s) {
            NeighbourCache::Neighbour n{};
            neighbours.Find(1, 1, 0, s, n);
            dx_[s] = n.column - 1;
            dy_[s] = n.row - 1;
            back_[s] = n.side;
        }
    }

    void Reset() {
        std::fill(cells_.begin(), cells_.end(), MazeCell{});
        cells_.front().flags = CELL_START | CELL_HIDDEN;
        cells_.back().flags = CELL_STOP | CELL_HIDDEN;
    }

    void Grow(CrtRandom& random) {
        DirectionChooser chooser(random);
        random.srand(kSeed);
        int c = 0, r = 0;
        do {
            c = random.rand() % width_;
            r = random.rand() % height_;
        } while (!Free(c, r));
        int at = Index(c, r);
        if (AddFrontier(at) > 0) {
            at = Step(at, chooser.Choose(candidates_, kSides, even_));
            AddFrontier(at);
        }
        previous_ = 0;
        int failures = 0;
        while (!list_.empty()) {
            const std::size_t index = static_cast<std::size_t>(random.rand()) % list_.size();
            at = list_[index];
            if (Scan(at, [](const MazeCell& n) { return n.IsCarved(); }) == 0) {
                cells_[std::size_t(at)].flags &= WORD(~CELL_FRONTIER);
                RemoveAt(index);
                continue;
            }
            const int side = chooser.Choose(candidates_, kSides, Weights());
            if (side < 1) {
                if (++failures > 20) {
                    previous_ = 0;
                    failures = 0;
                }
                continue;
            }
            cells_[std::size_t(at)].flags &= WORD(~CELL_FRONTIER);
            RemoveAt(index);
            Open(at, side);
            Open(Across(at, side), back_[side]);
            int candidates = AddFrontier(at);
            previous_ = side;
            failures = 0;
            while (candidates > 0) {
                const int s = chooser.Choose(candidates_, kSides, Weights());
                if (s < 1)
                    break;
                at = Step(at, s);
                candidates = AddFrontier(at);
            }
        }
    }

    void Solve() {
        for (MazeCell& cell : cells_)
            cell.flags &= WORD(~CELL_SOLUTION);
        backup_ = cells_;
        for (int i = 0; i < width_ * height_; ++i) {
            int at = i, side = DeadEnd(cells_[std::size_t(i)]);
            while (side != 0) {
                cells_[std::size_t(at)].CloseSide(side);
                const int next = Across(at, side);
                if (next < 0)
                    break;
                cells_[std::size_t(next)].CloseSide(back_[side]);
                at = next;
                side = DeadEnd(cells_[std::size_t(at)]);
            }
        }
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            if (cells_[i].IsCarved())
                backup_[i].SetSolution();
            cells_[i] = backup_[i];
        }
    }

    const std::vector<MazeCell>& Cells() const { return cells_; }

private:
    int Index(int c, int r) const { return c + r * width_; }
    bool Free(int c, int r) const {
        const MazeCell& cell = cells_[std::size_t(Index(c, r))];
        return cell.passages == 0 && (cell.flags & CELL_NOT_ELIGIBLE) == 0;
    }
    int Across(int at, int side) const { return Across(at % width_, at / width_, at, side); }
    int Across(int c, int r, int at, int side) const {
        c += dx_[side];
        r += dy_[side];
        return unsigned(c) < unsigned(width_) && unsigned(r) < unsigned(height_)
                   ? at + dx_[side] + dy_[side] * width_
                   : -1;
    }
    const SideWeights& Weights() const { return previous_ < 1 ? even_ : weights_; }
    static int DeadEnd(const MazeCell& cell) {
        const unsigned p = cell.passages;
        if (p == 0 || (p & (p - 1)) != 0 || (cell.flags & (CELL_START | CELL_STOP)) != 0)
            return 0;
        return std::countr_zero(p) + 1;
    }
    template <typename Test> int Scan(int at, Test test) {
        candidates_[0] = 0;
        const int c = at % width_, r = at / width_;
        for (int s = 1; s <= kSides; ++s) {
            const int n = Across(c, r, at, s);
            candidates_[std::size_t(s)] = n >= 0 && test(cells_[std::size_t(n)]) ? 1 : 0;
            candidates_[0] += candidates_[std::size_t(s)];
        }
        return candidates_[0];
    }
    int AddFrontier(int at) {
        return Scan(at, [&](MazeCell& n) {
            if (n.IsFrontier())
                return true;
            if (!n.TryMarkFrontier())
                return false;
            const int index = static_cast<int>(&n - cells_.data());
            positions_[std::size_t(index)] = static_cast<std::int32_t>(list_.size());
            list_.push_back(index);
            return true;
        });
    }
    void RemoveAt(std::size_t index) {
        const int gone = list_[index];
        list_[index] = list_.back();
        positions_[std::size_t(list_[index])] = static_cast<std::int32_t>(index);
        positions_[std::size_t(gone)] = -1;
        list_.pop_back();
    }
    void Open(int at, int side) {
        if (cells_[std::size_t(at)].OpenSide(side))
            RemoveAt(std::size_t(positions_[std::size_t(at)]));
    }
    int Step(int at, int side) {
        Open(at, side);
        const int next = Across(at, side);
        previous_ = back_[side];
        Open(next, back_[side]);
        return next;
    }

    int width_, height_;
    std::vector<MazeCell> cells_, backup_;
    std::vector<std::int32_t> positions_;
    std::vector<int> list_;
    SideWeights weights_, even_;
    int dx_[kSides + 1]{}, dy_[kSides + 1]{}, back_[kSides + 1]{};
    int previous_ = 0;
    SideCandidates candidates_{};
};

struct Maze {
    TempFolder folder{"ratio-bench"};
    std::unique_ptr<CProfile> profile;
    std::unique_ptr<CGridloomDoc> doc;

    Maze() {
        profile = std::make_unique<CProfile>(folder.File("OrlimberSTD.ini"));
        doc = std::make_unique<CGridloomDoc>(*profile);
        doc->Settings().kind = KIND_BOX;
        doc->Settings().columns = kSide;
        doc->Settings().rows = kSide;
        doc->Settings().fitToPage = 1;
        doc->SetupGrids(false);
    }
    void Clear() {
        doc->ClearMaze(false);
        doc->cursorColumn = doc->cursorRow = -1;
        doc->Settings().seed = kSeed;
    }
    bool SameAs(const BareBox& bare) const {
        const auto cells = doc->GetGrid(0)->Cells();
        return std::equal(cells.begin(), cells.end(), bare.Cells().begin(), bare.Cells().end());
    }
};

template <typename F> double Millis(F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Report(benchmark::State& state, const std::vector<double>& program,
            const std::vector<double>& bare) {
    state.counters["program_ms"] = Median(program);
    state.counters["bare_ms"] = Median(bare);
    state.counters["ratio"] = Median(program) / Median(bare);
}

// Generate and solve (Make Maze), program against bare loop, pair by pair.
void GrowAndSolveRatio(benchmark::State& state) {
    Maze maze;
    CGridloomDoc& doc = *maze.doc;
    BareBox bare(kSide, kSide, *doc.GetGrid(0), NeighbourCache(doc.Grids()));
    CrtRandom random;
    std::vector<double> program, loop;
    for (auto _ : state) {
        maze.Clear();
        program.push_back(Millis([&] { doc.OnGenerateMaze(); }));
        bare.Reset();
        loop.push_back(Millis([&] {
            bare.Grow(random);
            bare.Solve();
        }));
        if (!maze.SameAs(bare)) {
            state.SkipWithError("the bare loop grew another maze");
            return;
        }
    }
    Report(state, program, loop);
}
BENCHMARK(GrowAndSolveRatio)->Iterations(7)->Unit(benchmark::kMillisecond);

// Solve Maze alone on the grown maze.
void SolveRatio(benchmark::State& state) {
    Maze maze;
    CGridloomDoc& doc = *maze.doc;
    BareBox bare(kSide, kSide, *doc.GetGrid(0), NeighbourCache(doc.Grids()));
    CrtRandom random;
    maze.Clear();
    doc.OnGenerateMaze();
    bare.Reset();
    bare.Grow(random);
    bare.Solve();
    std::vector<double> program, loop;
    for (auto _ : state) {
        program.push_back(Millis([&] { doc.OnSolveMaze(); }));
        loop.push_back(Millis([&] { bare.Solve(); }));
        if (!maze.SameAs(bare)) {
            state.SkipWithError("the bare loop solved another maze");
            return;
        }
    }
    Report(state, program, loop);
}
BENCHMARK(SolveRatio)->Iterations(9)->Unit(benchmark::kMillisecond);

} // namespace
