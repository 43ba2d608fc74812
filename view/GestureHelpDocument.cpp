#include "view/GestureHelpDocument.h"

#include "gesture/GestureNames.h"
#include "gesture/GestureThumbnail.h"
#include "image/core/CRaster.h"
#include "platform/CDC.h"
#include "platform/CFont.h"
#include "platform/GdiConstants.h"
#include "platform/PdfPrintPageService.h"
#include "res/CommandIds.h"
#include "view/GestureCommandTable.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// Page layout in printer pixels at kDpi.
constexpr int kLeft = 150;
constexpr int kTop = 150;
constexpr int kHeading = 130;
constexpr int kRowHeight = 110;
constexpr int kPicture = 100;
constexpr int kNameColumn = kLeft + 140;
constexpr int kLayerColumn = kLeft + 480;
constexpr int kCommandColumn = kLeft + 720;

int ClassOf(const char* name) {
    const auto it = std::find_if(GestureNames.begin(), GestureNames.end(),
                                 [name](const char* n) { return std::strcmp(n, name) == 0; });
    return it == GestureNames.end() ? -1 : static_cast<int>(it - GestureNames.begin());
}

void Text(CDC& dc, int x, int y, int height, int weight, const std::string& text) {
    CFont font;
    font.CreateFont(-height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    CFont* old = dc.SelectObject(&font);
    dc.TextOut(x, y, text);
    dc.SelectObject(old);
}

void PageHeading(CDC& dc, int page) {
    Text(dc, kLeft, kTop - 70, 40, FW_BOLD,
         page == 0 ? std::string(GestureHelpDocument::kTitle) : "Mouse Gestures (continued)");
    Text(dc, kNameColumn, kTop + 40, 26, FW_BOLD, "Gesture");
    Text(dc, kLayerColumn, kTop + 40, 26, FW_BOLD, "Layer");
    Text(dc, kCommandColumn, kTop + 40, 26, FW_BOLD, "Command");
}

void Row(CDC& dc, const GestureCommand& row, int y) {
    const int cls = ClassOf(row.name);
    CRaster shape;
    if (cls >= 0 && GestureThumbnail::RenderPrototype(cls, shape))
        shape.Draw(dc, kLeft, y, kPicture, kPicture);
    const int textY = y + kPicture / 2 - 15;
    Text(dc, kNameColumn, textY, 28, FW_NORMAL, row.name);
    Text(dc, kLayerColumn, textY, 28, FW_NORMAL, GestureHelpDocument::LayerName(row.layer));
    Text(dc, kCommandColumn, textY, 28, FW_NORMAL, GestureHelpDocument::CommandName(row.command));
}

} // namespace

std::string GestureHelpDocument::LayerName(const char* letter) {
    switch (letter[0]) {
    case 'A':
        return "any layer";
    case 'B':
        return "background";
    case 'M':
        return "maze";
    case 'F':
        return "foreground";
    case 'T':
        return "text";
    default:
        return "";
    }
}

std::string GestureHelpDocument::CommandName(DWORD command) {
    switch (command) {
    case ID_MAZE_SETUP:
        return "Maze Setup";
    case ID_EDIT_COPY:
        return "Copy";
    case ID_FILE_SAVE_AS:
        return "Save As";
    case ID_EDIT_UNDO:
        return "Undo";
    case ID_VIEW_SOLUTION:
        return "View Solution";
    case ID_GESTURE_HELP:
        return "Mouse Gesture help (this document)";
    case ID_LAYER_BACKGROUND:
        return "Make the background layer active";
    case ID_LAYER_MAZE:
        return "Make the maze layer active";
    case ID_LAYER_FOREGROUND:
        return "Make the foreground layer active";
    case ID_LAYER_TEXT:
        return "Make the text layer active";
    case ID_APPLY_BMP_MASK:
        return "Apply BMP Mask";
    case ID_DELETE_ITEM:
        return "Delete object";
    case ID_BRING_TO_TOP:
        return "Bring object to top";
    case ID_MOVE_TO_BOTTOM:
        return "Move object to bottom";
    case ID_EDIT_PASTE:
        return "Paste";
    case ID_TOOL_WHITEN:
        return "Whiten tool";
    case ID_TOOL_BLACKEN:
        return "Blacken tool";
    case ID_TOOL_RESET:
        return "Reset Cell tool";
    case ID_TOOL_GROW:
        return "Grow From Selector tool";
    case ID_TOOL_START:
        return "START tool";
    case ID_TOOL_STOP:
        return "STOP tool";
    case ID_RERENDER_MAZE:
        return "ReRender Maze";
    case ID_FILE_PRINT:
        return "Print";
    default:
        return "";
    }
}

bool GestureHelpDocument::Print(CDC& dc) {
    const auto& rows = GestureCommandTable::Rows();
    const std::size_t count = GestureCommandTable::kTerminator;
    for (std::size_t first = 0; first < count; first += kRowsPerPage) {
        if (dc.StartPage() <= 0)
            return false;
        PageHeading(dc, static_cast<int>(first / kRowsPerPage));
        const std::size_t last = std::min(count, first + kRowsPerPage);
        for (std::size_t i = first; i < last; ++i)
            Row(dc, rows[i], kTop + kHeading + static_cast<int>(i - first) * kRowHeight);
        if (dc.EndPage() <= 0)
            return false;
    }
    return true;
}

bool GestureHelpDocument::WritePdf(const std::string& path) {
    PrintPageSetup setup;
    setup.dpi = kDpi;
    PdfPrintPageService pages(path, setup);
    CDC dc;
    if (!dc.CreatePrinterDC(pages) || dc.StartDoc(kTitle) <= 0)
        return false;
    if (!Print(dc)) {
        dc.AbortDoc();
        return false;
    }
    return dc.EndDoc() > 0;
}
