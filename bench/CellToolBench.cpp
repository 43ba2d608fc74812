// One fast Blacken drag move of 1,000 pixels across a 500 x 500 Box in a view without a
// window: every point is hit-tested and each newly crossed cell repainted into the page.
#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "platform/MouseKeyFlags.h"
#include "res/CommandIds.h"
#include "tests/support/TempFolder.h"
#include "view/CGridloomView.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BlackenDrag1000(benchmark::State& state) {
    TempFolder dir{"tool-bench"};
    CProfile profile(dir.File("OrlimberSTD.ini"));
    auto doc = std::make_unique<CGridloomDoc>(profile);
    doc->Settings().kind = KIND_BOX;
    doc->Settings().columns = 500;
    doc->Settings().rows = 500;
    doc->OnFileNew();
    auto view = std::make_unique<CGridloomView>();
    view->SetDocument(doc.get());
    view->OnInitialUpdate();
    view->PaintScreen();
    view->SelectTool(ID_TOOL_BLACKEN);
    using Button = ViewMouseController::Button;
    ViewMouseController& mouse = view->Mouse();
    const CPoint from(10, 20), to(610, 820); // 800 pixels down, 600 across: 1,000 long
    for (auto _ : state) {
        state.PauseTiming();
        for (int g = 0; g < doc->GridCount(); ++g)
            for (MazeCell& cell : doc->GetGrid(g)->Cells())
                cell.flags = 0;
        mouse.ButtonDown(Button::Left, MK_LBUTTON, from);
        mouse.Move(MK_LBUTTON, from);
        state.ResumeTiming();
        mouse.Move(MK_LBUTTON, to);
        state.PauseTiming();
        mouse.ButtonUp(Button::Left, 0, to);
        state.ResumeTiming();
    }
    view.reset();
    doc.reset();
}
BENCHMARK(BlackenDrag1000)->Unit(benchmark::kMillisecond);

} // namespace
