// Copy of a made 500 x 500 Box maze to the clipboard (render, PNG and BMP), and the paste of
// a 4000 x 3000 PNG into the working image. Each is meant to stay under half a second.
#include "document/CGridloomDoc.h"
#include "image/core/CRaster.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/TempFolder.h"
#include "view/CGridloomView.h"
#include "view/PicturePaste.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void CopyBox500(benchmark::State& state) {
    TempFolder dir{"clipboard-bench"};
    CProfile profile(dir.File("OrlimberSTD.ini"));
    auto doc = std::make_unique<CGridloomDoc>(profile);
    doc->Settings().kind = KIND_BOX;
    doc->Settings().columns = 500;
    doc->Settings().rows = 500;
    doc->Settings().seed = 1;
    doc->OnFileNew();
    auto view = std::make_unique<CGridloomView>();
    view->SetDocument(doc.get());
    view->OnInitialUpdate();
    doc->OnGenerateMaze();
    FakeClipboard clipboard;
    view->SetClipboard(&clipboard);
    for (auto _ : state)
        benchmark::DoNotOptimize(view->OnEditCopy());
    view.reset();
    doc.reset();
}
BENCHMARK(CopyBox500)->Unit(benchmark::kMillisecond);

void PastePng4000x3000(benchmark::State& state) {
    CRaster picture(4000, 3000, 24);
    // A gradient with some noise, so that the PNG is not trivially small.
    for (LONG y = 0; y < 3000; ++y)
        for (LONG x = 0; x < 4000; ++x)
            picture.SetPixelColor(x, y,
                                  RGBQUAD::FromRgb(BYTE(x), BYTE(y), BYTE((x * 7 + y * 13) % 251)));
    ClipboardPicture offered{"image/png", {}};
    picture.EncodeToMemory(offered.bytes, CRaster::kTypePng);
    for (auto _ : state) {
        CRaster working;
        benchmark::DoNotOptimize(PicturePaste::Decode(offered, working));
    }
}
BENCHMARK(PastePng4000x3000)->Unit(benchmark::kMillisecond);

} // namespace
