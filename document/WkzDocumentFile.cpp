#include "document/WkzDocumentFile.h"

#include "document/CGridloomDoc.h"
#include "document/WkzMessages.h"
#include "document/WkzWriter.h"
#include "image/core/BusyStop.h"
#include "maze/GridPlan.h"
#include "platform/MessageBox.h"

WkzContent WkzDocumentFile::Capture(const CGridloomDoc& doc) {
    const MazeSettings& s = doc.Settings();
    WkzContent c;
    c.version = doc.formatVersion;
    c.kind = s.kind;
    c.name = s.name;
    c.flags = doc.docFlags;
    c.scale = s.scale;
    c.cursorColumn = doc.cursorColumn;
    c.xOffset = s.xOffset;
    c.cursorRow = doc.cursorRow;
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
    c.ringCounts = doc.RingCounts();
    for (int i = 0; i < doc.GridCount(); ++i)
        c.grids.push_back(GridRecord::FromObject(*doc.GetGrid(i)));
    c.objects = doc.layerObjects;
    c.seedPoints = doc.seedPoints;
    return c;
}

bool WkzDocumentFile::CanStore(CGridloomDoc& doc) {
    // Without grids the file would not hold the records its template promises.
    if (doc.GridCount() > 0)
        return true;
    doc.pendingMessage = WkzMessages::NothingToSave();
    return false;
}

bool WkzDocumentFile::Store(CGridloomDoc& doc, CArchive& ar) {
    if (!CanStore(doc))
        return false;
    std::string error;
    if (!WkzWriter::Write(Capture(doc), ar, error)) {
        doc.pendingMessage = error;
        return false;
    }
    return true;
}

bool WkzDocumentFile::Load(CGridloomDoc& doc, CArchive& ar) {
    // Pictures may take a while: the busy cursor shows and Escape stops the reading.
    BusyStop stop;
    DecodeOptions options;
    options.stop = &stop;
    return Finish(doc, WkzReader::Read(ar, PictureAllowance(options)));
}

bool WkzDocumentFile::Finish(CGridloomDoc& doc, WkzReader::Result result) {
    if (result.status == WkzReader::Status::upgradeMarker) {
        AfxMessageBox(result.message, MB_OKCANCEL);
        return false;
    }
    if (result.status == WkzReader::Status::cancelled)
        return false; // stopped by the user, who needs no message; the document stays
    if (!result.Ok()) {
        doc.pendingMessage = result.message;
        doc.UpdateAllViews(nullptr);
        return false;
    }
    return Commit(doc, result.content);
}

void WkzDocumentFile::TakeSettings(MazeSettings& s, const WkzContent& c) {
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

bool WkzDocumentFile::AnyPassage(const WkzContent& c) {
    for (const GridRecord& g : c.grids)
        for (const MazeCell& cell : g.cells)
            if (cell.IsCarved())
                return true;
    return false;
}

bool WkzDocumentFile::Commit(CGridloomDoc& doc, WkzContent& c) {
    // Settings the document could not build grids from are refused before anything changes.
    MazeSettings staged = doc.Settings();
    TakeSettings(staged, c);
    const GridPlan plan = GridPlan::For(staged);
    if (!plan.Ok()) {
        doc.pendingMessage = WkzMessages::Damaged(plan.Error());
        doc.UpdateAllViews(nullptr);
        return false;
    }

    // Reset as File New does. The file brings its own layer objects, so the current ones go
    // without asking (keeping them would merge two documents).
    doc.layerObjects.clear();
    doc.OnFileNew();
    TakeSettings(doc.Settings(), c);
    doc.SetupGrids(false);
    doc.formatVersion = c.version;
    doc.docFlags = c.flags;
    doc.cursorColumn = c.cursorColumn;
    doc.cursorRow = c.cursorRow;
    doc.tilerReloadPending = c.tiled > 0 ? 1 : 0;
    for (int i = 0; i < doc.GridCount() && i < static_cast<int>(c.grids.size()); ++i)
        c.grids[static_cast<std::size_t>(i)].ApplyTo(*doc.GetGrid(i));
    doc.layerObjects = std::move(c.objects);
    doc.seedPoints.insert(doc.seedPoints.end(), c.seedPoints.begin(), c.seedPoints.end());
    // A saved maze comes back as a made maze, so that it can be solved and cleared.
    if (AnyPassage(c)) {
        doc.mazeMade = 1;
        doc.cleared = 0;
    }
    doc.reRender = 1;
    doc.UpdateAllViews(nullptr);
    return true;
}
