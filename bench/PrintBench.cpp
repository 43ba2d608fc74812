// Printing: ten mazes of a 100 x 100 Box, maze and solution pages, to a PDF file (regrowing
// each maze as a print run does), and one preview page drawn at 96 dots per inch.
#include "bench/MadeBoxMaze.h"
#include "platform/PdfPrintPageService.h"
#include "view/PrintPreviewRenderer.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

struct Maze : MadeBoxMaze {
    Maze() : MadeBoxMaze("print-bench", 100) {}
};

void PrintTenMazesToPdf(benchmark::State& state) {
    Maze maze;
    MazePrintSettings options;
    options.numberOfMazes = 10;
    options.Save(*maze.profile);
    const std::string pdf = maze.dir.File("mazes.pdf");
    for (auto _ : state) {
        PdfPrintPageService pages(pdf, PrintPageSetup{});
        if (!maze.view->PrintAll(pages, "bench"))
            state.SkipWithError("printing failed");
    }
    state.counters["pages"] = 20;
    state.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}

void PreviewPageAt96Dpi(benchmark::State& state) {
    Maze maze;
    MazePrintSettings options;
    const PrintPagePlan plan(options, true);
    PrintPageSetup printer;
    printer.offsetX = printer.offsetY = 100;
    for (auto _ : state)
        benchmark::DoNotOptimize(PrintPreviewRenderer::Render(*maze.view, plan, 2, printer, 96));
}

} // namespace

BENCHMARK(PrintTenMazesToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewPageAt96Dpi)->Unit(benchmark::kMillisecond);
