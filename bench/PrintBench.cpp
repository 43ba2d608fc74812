// Printing: ten mazes of a 100 x 100 Box, maze and solution pages, to a PDF file (regrowing
// each maze as a print run does), and one preview page drawn at 96 dots per inch.
#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "platform/PdfPrintPageService.h"
#include "tests/support/TempFolder.h"
#include "view/CGridloomView.h"
#include "view/PrintPreviewRenderer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

struct Maze {
    TempFolder dir{"print-bench"};
    std::unique_ptr<CProfile> profile;
    std::unique_ptr<CGridloomDoc> doc;
    std::unique_ptr<CGridloomView> view;

    Maze() {
        profile = std::make_unique<CProfile>(dir.File("OrlimberSTD.ini"));
        doc = std::make_unique<CGridloomDoc>(*profile);
        doc->Settings().kind = KIND_BOX;
        doc->Settings().columns = 100;
        doc->Settings().rows = 100;
        doc->Settings().seed = 1;
        doc->OnFileNew();
        view = std::make_unique<CGridloomView>();
        view->SetDocument(doc.get());
        view->OnInitialUpdate();
        doc->OnGenerateMaze();
    }
    ~Maze() {
        view.reset();
        doc.reset();
    }
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
