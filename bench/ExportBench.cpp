// The export commands on a made 500 x 500 Box: both GIF pictures at 1024 x 768, the page as an
// enhanced metafile (its size is reported), and a 500 x 500 mask picture applied; and the
// metafile of a 10 x 10 Box drawn with the installed Garden Hedge tiles, plain and tiled.
#include "bench/MadeBoxMaze.h"
#include "image/core/CRaster.h"
#include "tiles/GardenTileSet.h"
#include "view/MetafileExport.h"
#include "view/PictureExport.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

struct Box500 : MadeBoxMaze {
    Box500() : MadeBoxMaze("export-bench", 500) {}
};

void GifExportBox500(benchmark::State& state) {
    Box500 maze;
    const std::string path = maze.dir.File("maze.gif");
    for (auto _ : state) {
        const std::string error = PictureExport::Write(*maze.view, path, 2, 1024, 768);
        if (!error.empty())
            state.SkipWithError(error.c_str());
    }
}

void MetafileBox500(benchmark::State& state) {
    Box500 maze;
    const std::string path = maze.dir.File("maze.emf");
    for (auto _ : state) {
        const std::string error = MetafileExport::Write(*maze.view, path);
        if (!error.empty())
            state.SkipWithError(error.c_str());
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

void MaskBox500(benchmark::State& state) {
    Box500 maze;
    // A checkerboard of 10-pixel squares: about a quarter of the cells turn black, a quarter
    // white.
    CRaster mask(500, 500, 24);
    for (LONG y = 0; y < 500; ++y)
        for (LONG x = 0; x < 500; ++x)
            mask.SetPixelColorRef(x, y,
                                  ((x / 10 + y / 10) % 2) ? RGB(0, 0, 0)
                                  : (x / 10) % 2          ? RGB(255, 255, 255)
                                                          : RGB(128, 128, 128));
    for (auto _ : state)
        benchmark::DoNotOptimize(maze.view->ApplyImageMask(mask));
}

// The metafile of a made 10 x 10 Box, with the Garden Hedge tile set or without tiles.
void MetafileGarden10(benchmark::State& state, bool tiled) {
    TempFolder dir("export-garden-bench");
    std::filesystem::create_directories(dir.File("Tiler"));
    if (const std::string error = GardenTileSet::Write(dir.File("Tiler")); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    CProfile profile(dir.File("OrlimberSTD.ini"));
    CGridloomDoc doc(profile);
    doc.Settings().kind = KIND_BOX;
    doc.Settings().columns = doc.Settings().rows = 10;
    doc.Settings().seed = 1;
    doc.Settings().tiled = tiled ? 1 : 0;
    doc.Settings().tilerId = std::string(" ") + GardenTileSet::kUniqueId;
    doc.OnFileNew();
    CGridloomView view;
    view.SetDocument(&doc);
    view.TileSets().SetInstallFolder(dir.Path().string());
    view.OnInitialUpdate();
    doc.OnGenerateMaze();
    const std::string path = dir.File("maze.emf");
    for (auto _ : state) {
        const std::string error = MetafileExport::Write(view, path);
        if (!error.empty())
            state.SkipWithError(error.c_str());
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

void MetafileGardenTiles10(benchmark::State& state) {
    MetafileGarden10(state, true);
}

void MetafilePlain10(benchmark::State& state) {
    MetafileGarden10(state, false);
}

} // namespace

BENCHMARK(MetafileGardenTiles10)->Unit(benchmark::kMillisecond);
BENCHMARK(MetafilePlain10)->Unit(benchmark::kMillisecond);
BENCHMARK(GifExportBox500)->Unit(benchmark::kMillisecond);
BENCHMARK(MetafileBox500)->Unit(benchmark::kMillisecond);
BENCHMARK(MaskBox500)->Unit(benchmark::kMillisecond);
