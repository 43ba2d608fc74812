#include "document/SettingsPageExchange.h"

#include "platform/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int Thousandths(float inches) {
    const double v = std::round(static_cast<double>(inches) * 1000.0);
    if (!(v > std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (!(v < std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

float Inches(long long thousandths) {
    return static_cast<float>(thousandths / 1000.0);
}

} // namespace

int SettingsPageExchange::PageSideFromInches(float inches) {
    const int v = Thousandths(inches);
    return v == std::numeric_limits<int>::min() ? v : v - 1;
}

int SettingsPageExchange::OffsetFromInches(float inches) {
    return Thousandths(inches);
}

void SettingsPageExchange::Fill(const MazeSettings& s, Circular circular, bool infoBox,
                                SettingsPages& pages) {
    PP1& style = pages.style;
    style.kind = s.kind;
    style.tiled = s.tiled;
    style.listText = s.name;
    style.tilerId = s.tilerId;
    style.wrapHorizontally = s.wrapHorizontally ? 1 : 0;
    style.wrapVertically = s.wrapVertically ? 1 : 0;

    PP2& dim = pages.dimensions;
    dim.cellsLong = s.rows;
    dim.cellsWide = s.columns;
    dim.innerRadiusCells = circular.cells;
    dim.innerRadiusPercent = circular.percent;
    dim.fitToPage = s.fitToPage;
    dim.scale = s.scale;

    PP3& page = pages.page;
    page.height = Inches(s.pageHeight + 1LL);
    page.width = Inches(s.pageWidth + 1LL);
    // A margin below 0 prints as 0 (the printer's border wins), so the page shows it as 0
    // rather than refuse what a file brought.
    page.leftMargin = Inches(std::max(s.xOffset, 0));
    page.topMargin = Inches(std::max(s.yOffset, 0));
    page.autoCenter = s.autoCenter;
    page.printerDebug = s.printerDebug;

    PP4& adv = pages.advanced;
    adv.seed = Format("%d", s.seed);
    adv.animate = s.animate;
    adv.penWidth = s.penWidth;
    adv.erasedVisible = s.erasedVisible;
    adv.infoWindow = infoBox ? 1 : 0;

    PP5& g = pages.growth;
    const auto& c = s.compass.values;
    g.center = c[CompassWeights::CENTER];
    g.n = c[CompassWeights::N];
    g.ne = c[CompassWeights::NE];
    g.e = c[CompassWeights::E];
    g.se = c[CompassWeights::SE];
    g.s = c[CompassWeights::S];
    g.sw = c[CompassWeights::SW];
    g.w = c[CompassWeights::W];
    g.nw = c[CompassWeights::NW];
    g.relative = s.compass.relative;
}

MazeSettings SettingsPageExchange::Read(const SettingsPages& pages, MazeSettings s) {
    s.fitToPage = pages.dimensions.fitToPage;
    int seed = 0;
    if (ParseInt(pages.advanced.seed, seed))
        s.seed = seed;
    s.animate = pages.advanced.animate;
    s.penWidth = pages.advanced.penWidth;
    s.erasedVisible = pages.advanced.erasedVisible;
    s.pageHeight = PageSideFromInches(pages.page.height);
    s.pageWidth = PageSideFromInches(pages.page.width);
    s.xOffset = OffsetFromInches(pages.page.leftMargin);
    s.yOffset = OffsetFromInches(pages.page.topMargin);
    s.autoCenter = pages.page.autoCenter;
    s.printerDebug = pages.page.printerDebug;
    s.scale = pages.dimensions.scale;
    s.rows = pages.dimensions.cellsLong;
    s.columns = pages.dimensions.cellsWide;
    s.kind = pages.style.kind;
    s.tiled = pages.style.tiled;
    s.name = pages.style.listText;
    s.tilerId = pages.style.tilerId;
    s.wrapHorizontally = pages.style.wrapHorizontally ? 1 : 0;
    s.wrapVertically = pages.style.wrapVertically ? 1 : 0;

    const PP5& g = pages.growth;
    s.compass.values = {g.center, g.n, g.ne, g.e, g.se, g.s, g.sw, g.w, g.nw};
    s.compass.relative = g.relative;
    return s;
}
