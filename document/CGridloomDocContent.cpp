#include "document/CGridloomDoc.h"
#include "document/WkzContent.h"
#include "maze/GridPlan.h"

namespace {

void TakeSettings(MazeSettings& s, const WkzContent& c) {
    s.kind = c.kind;
    s.name = c.name;
    s.scale = c.scale;
    s.xOffset = c.xOffset;
    s.yOffset = c.yOffset;
    s.columns = c.columns;
    s.pageWidth = c.pageWidth;
    s.widthMultiplier = c.widthMultiplier;
    s.rows = c.rows;
    s.pageHeight = c.pageHeight;
    s.heightMultiplier = c.heightMultiplier;
    s.seed = c.seed;
    s.tiled = c.tiled;
    s.tilerId = c.tilerId;
}

bool AnyPassage(const WkzContent& c) {
    for (const GridRecord& g : c.grids)
        for (const MazeCell& cell : g.cells)
            if (cell.IsCarved())
                return true;
    return false;
}

} // namespace

WkzContent CGridloomDoc::Content() const {
    const MazeSettings& s = settings_;
    WkzContent c;
    c.version = formatVersion;
    c.kind = s.kind;
    c.name = s.name;
    c.flags = docFlags;
    c.scale = s.scale;
    c.cursorColumn = cursorColumn;
    c.xOffset = s.xOffset;
    c.cursorRow = cursorRow;
    c.yOffset = s.yOffset;
    c.columns = s.columns;
    c.pageWidth = s.pageWidth;
    c.widthMultiplier = s.widthMultiplier;
    c.rows = s.rows;
    c.pageHeight = s.pageHeight;
    c.heightMultiplier = s.heightMultiplier;
    c.seed = s.seed;
    c.tiled = s.tiled;
    c.tilerId = s.tilerId;
    c.ringCounts = RingCounts();
    for (int i = 0; i < GridCount(); ++i)
        c.grids.push_back(GridRecord::FromObject(*GetGrid(i)));
    c.objects = layerObjects;
    c.seedPoints = seedPoints;
    return c;
}

std::string CGridloomDoc::Adopt(WkzContent&& c) {
    MazeSettings staged = settings_;
    TakeSettings(staged, c);
    const GridPlan plan = GridPlan::For(staged);
    if (!plan.Ok())
        return plan.Error();

    // The file brings its own layer objects; keeping the current ones would merge two
    // documents.
    layerObjects.clear();
    OnFileNew();
    TakeSettings(settings_, c);
    SetupGrids(false);
    formatVersion = c.version;
    docFlags = c.flags;
    cursorColumn = c.cursorColumn;
    cursorRow = c.cursorRow;
    tilerReloadPending = c.tiled > 0 ? 1 : 0;
    for (int i = 0; i < GridCount() && i < static_cast<int>(c.grids.size()); ++i)
        c.grids[static_cast<std::size_t>(i)].ApplyTo(*GetGrid(i));
    layerObjects = std::move(c.objects);
    seedPoints.insert(seedPoints.end(), c.seedPoints.begin(), c.seedPoints.end());
    // A saved maze comes back as a made maze, so that it can be solved and cleared.
    if (AnyPassage(c)) {
        mazeMade = 1;
        cleared = 0;
    }
    reRender = 1;
    UpdateAllViews(nullptr);
    return {};
}
