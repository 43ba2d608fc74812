#include "view/MetafileExport.h"

#include "document/CGridloomDoc.h"
#include "image/metafile/CMetaFileDC.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"
#include "platform/SaveRefusal.h"
#include "view/IRenderView.h"

CRect MetafileExport::Frame(int pageWidth, int pageHeight) {
    return {0, 0, static_cast<LONG>(pageWidth * 2.54), static_cast<LONG>(pageHeight * 2.54)};
}

std::string MetafileExport::Write(IRenderView& view, const std::string& path) {
    CGridloomDoc* doc = view.GetDocument();
    if (!doc || doc->GridCount() == 0)
        return {};
    view.BuildCellGeometry();
    const MazeSettings& s = doc->Settings();
    CDC screen; // the reference device: the screen
    screen.CreateCompatibleDC(nullptr);
    CMetaFileDC dc;
    if (!dc.CreateEnhMetaFile(&screen, path, Frame(s.pageWidth, s.pageHeight), kDescription))
        return SaveRefusal::Text(path, "the metafile could not be started");
    dc.SetMapMode(MM_HIENGLISH);
    // Selection marks are not part of the picture.
    view.SetActiveLayer(0);
    view.SetScreenFlag(false);
    view.OnDraw(dc);
    view.SetScreenFlag(true);
    view.SetActiveLayer(-1);
    std::string error;
    // The error is SaveRefusal's text already.
    if (!dc.CloseEnhMetaFile(error))
        return error;
    return {};
}
