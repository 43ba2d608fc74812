#pragma once
// Document contents for the file-format tests and the fuzz seeds.
#include "document/WkzContent.h"
#include "maze/Object.h"
#include "maze/TemplateKind.h"
#include "maze/TemplateTables.h"

namespace WkzSamples {

// A content of `kind` whose grids carry every kind of cell the editor makes.
inline WkzContent Sample(int kind, int columns = 3, int rows = 2) {
    WkzContent c;
    c.kind = kind;
    c.name = "Caf\xC3\xA9 template";
    c.flags = 0x30;
    c.scale = 350;
    c.cursorColumn = 1;
    c.cursorRow = 0;
    c.xOffset = -20;
    c.yOffset = 40;
    c.columns = columns;
    c.rows = rows;
    c.seed = 12345;
    c.tiled = 1;
    c.tilerId = "Bricks";
    const TemplateInfo* t = TemplateTables::Find(kind);
    if (kind == KIND_CIRCULAR)
        c.ringCounts = {columns, columns};
    for (int g = 0; t && g < t->GridCount(); ++g) {
        Object probe(t->shapes[g]);
        probe.SetGridType(t->gridType);
        GridRecord r;
        r.sideCount = probe.SideCount();
        r.gridType = t->gridType;
        r.width = columns;
        r.height = rows;
        r.innerRadius = 0.25;
        r.ring0Count = 9;
        r.cells.resize(static_cast<std::size_t>(columns * rows));
        const WORD flags[] = {0,         CELL_BLACKENED, CELL_ERASED, CELL_START | CELL_HIDDEN,
                              CELL_STOP, CELL_SOLUTION};
        for (std::size_t i = 0; i < r.cells.size(); ++i)
            r.cells[i] = {flags[(i + g) % 6], static_cast<WORD>((i * 7 + g) & 3)};
        c.grids.push_back(r);
    }
    CLogicalRectTracker text;
    text.SetKind(CLogicalRectTracker::kindTextTransparent);
    text.SetLayer(CLogicalRectTracker::layerText);
    text.SetText("Start here");
    text.SetLogicalRect(100, 200, 2100, 900);
    CHOOSEFONT cf;
    cf.iPointSize = 120;
    LOGFONT lf;
    lf.SetFaceName("Arial");
    text.SetFont(cf, lf);
    c.objects.push_back(text);
    c.seedPoints = {{1, 0}, {2, 1}};
    return c;
}

} // namespace WkzSamples
