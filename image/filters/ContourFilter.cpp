#include "image/filters/ContourFilter.h"

#include "image/filters/FilterSamples.h"
#include "image/filters/RasterFilterRun.h"

#include <algorithm>

bool ContourFilter::Apply(CRaster& image) const {
    RasterFilterRun run(image);
    if (!run.Ready())
        return false;
    const FilterSamples samples(image);
    if (!run.Rows([&](LONG y) { FilterRow(samples, run, y); }))
        return false;
    return run.Finish();
}

void ContourFilter::FilterRow(const FilterSamples& samples, RasterFilterRun& run, LONG y) {
    const LONG width = LONG(run.Source().GetWidth());
    const LONG height = LONG(run.Source().GetHeight());
    const int nc = samples.Channels();
    const LONG y0 = std::max(y - 1, 0), y1 = std::min(y + 2, height);
    const BYTE* own = samples.Row(y);
    const RECT& box = run.Box();
    for (LONG x = box.left; x < box.right; ++x) {
        if (!run.Selected(x, y))
            continue;
        const LONG x0 = std::max(x - 1, 0), x1 = std::min(x + 2, width);
        BYTE values[3];
        for (int c = 0; c < nc; ++c) {
            const int pixel = own[x * nc + c];
            int value = 0;
            for (LONG sy = y0; sy < y1; ++sy) {
                const BYTE* row = samples.Row(sy);
                for (LONG sx = x0; sx < x1; ++sx) {
                    const int neighbour = row[sx * nc + c];
                    if (neighbour - pixel > value)
                        value = neighbour;
                }
            }
            values[c] = static_cast<BYTE>(255 - value);
        }
        samples.Store(run.Target(), x, y, values);
    }
}
