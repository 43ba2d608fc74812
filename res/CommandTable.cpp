#include "res/CommandTable.h"

#include "res/CommandIds.h"

#include <algorithm>
#include <array>

namespace {

using O = CommandOwner;
constexpr bool kCheck = true;

// Ordered by command number so that Find can search it.
constexpr std::array kCommands = std::to_array<CommandInfo>({
    {ID_SHOW_ERASED_CELLS, "", O::View, O::View, kCheck},
    {ID_INFO_BOX, "", O::View, O::View, kCheck},
    {ID_ANIMATED_CREATION, "", O::View, O::View, kCheck},
    {ID_MAKE_MAZE, "Randomly select a starting point to grow the maze\nGenerate Maze", O::Document,
     O::Frame},
    {ID_MAZE_SETUP, "Configure Maze Type and Properties\nSetup Maze", O::Document, O::None},
    {ID_TOOL_RESET, "Reset cells to normal\nReset Cell", O::View, O::View, false, kCheck},
    {ID_TOOL_BLACKEN, "Blacken a section\nBlacken", O::View, O::View, false, kCheck},
    {ID_TOOL_STOP,
     "Set a STOP Location  (Left Hidde, Right Visable)\nSTOP  (Left Hidden, Right Visable)",
     O::View, O::View, false, kCheck},
    {ID_TOOL_START,
     "Set are START location  (Left Hidden, Right Visable)\nSTART (Left Hidden, Right Visable)",
     O::View, O::View, false, kCheck},
    {ID_TOOL_WHITEN, "Whiten a Space\nWhiten (Clear)", O::View, O::View, false, kCheck},
    {ID_UNHANDLED_CTRL_F4, "", O::None, O::None},
    {ID_TOOL_GROW, "Grow Maze from \"HERE\"\nGrow From Selector", O::View, O::Frame, false, kCheck},
    {ID_VIEW_EDIT_TOOLBAR, "Show or hide the Edit Toolbar\nToggle Edit ToolBar", O::Frame, O::Frame,
     kCheck},
    {ID_SOLVE_MAZE, "Find the solution for the maze\nSolve Maze", O::Document, O::Frame},
    {ID_REGENERATE_PATH,
     "Return to orginal grid to generate a new path through the maze, does not change template",
     O::None, O::None},
    {ID_CLEAR_MAZE, "Remove generated maze, revert back to template\nRevert to maze template",
     O::Document, O::Frame},
    {ID_HOME_PAGE, "Opens the Orlimber Home Page on the Orlimber Web Site", O::App, O::None},
    {ID_SET_PEN_WIDTH, "Set the Pen Width while printing maze\nSet Printing Pen", O::Document,
     O::None},
    {ID_APPLY_BMP_MASK, "Apply Mask\nApply a BMP image as a mask to the current template", O::View,
     O::Frame},
    {ID_SAVE_IMAGE_FILE, "Save current image as a BMP file\nSave as BMP", O::View, O::None},
    {ID_SAVE_EMF, "Save current image as a EMF file", O::View, O::None},
    {ID_HEAR_ABOUT, "Real Audio sound bite for Orlimber", O::App, O::None},
    {ID_MASK_GALLERY,
     "Go online to show updated Gallery of Masks\nApply a  mask to the current template",
     O::InfoPane, O::Frame},
    {ID_TEMPLATE_GALLERY, "Go to online Gallery of Templates\nLoad template from the gallery",
     O::InfoPane, O::Frame},
    {ID_PAGE_SETUP, "Set the mazes page size & margins\nSet Page Size & Margins", O::Document,
     O::None},
    {ID_CHECK_UPDATES, "Check for Program updates\nUpdates", O::InfoPane, O::Frame},
    {ID_USER_MANUAL, "Opens the Orlimber User Manual from the Orlimber Web Site", O::App, O::None},
    {ID_VIEW_SOLUTION, "Show the solution of the maze\nShow solution", O::View, O::View, kCheck},
    {ID_LAYER_BACKGROUND, "Set working Layer to BACKGROUND\nBackground Layer", O::View, O::View,
     kCheck, kCheck},
    {ID_LAYER_MAZE, "Set working Layer to MAZE\nMaze Layer", O::View, O::View, kCheck, kCheck},
    {ID_LAYER_FOREGROUND, "Set working Layer to FOREGROUND\nForeground Layer", O::View, O::View,
     kCheck, kCheck},
    {ID_LAYER_TEXT, "Set working Layer to TEXT\nText Layer", O::View, O::View, kCheck, kCheck},
    {ID_SHOW_BACKGROUND, "", O::View, O::View, kCheck},
    {ID_SHOW_MAZE, "", O::View, O::View, kCheck},
    {ID_SHOW_FOREGROUND, "", O::View, O::View, kCheck},
    {ID_SHOW_TEXT, "", O::View, O::View, kCheck},
    {ID_DELETE_ITEM, "Delete selected item\nDelete", O::View, O::View},
    {ID_TOOL_DRAW_SOLUTION, "Draw your own solution for the maze\nDraw Solution", O::View, O::View,
     false, kCheck},
    {ID_BRING_TO_TOP, "Bring current object to top\nBring to top", O::View, O::View},
    {ID_MOVE_TO_BOTTOM, "Move current object to bottom\nMove to bottom", O::View, O::View},
    {ID_FORUM, "Opens the Orlimber Forum/Support group Orlimber Web Page", O::App, O::None},
    {ID_MAILING_LIST, "Opens the Orlimber Mailing List page on the Orlimber Web Site", O::App,
     O::None},
    {ID_RERENDER_MAZE,
     "Generate a new maze solution\nRegerenate a new maze and solution without disrupting the "
     "current design.",
     O::Document, O::None},
    {ID_TILER_GALLERY,
     "Show TILER Gallery on-line, check for the latest TILERs\nTILER Gallery on the Orlimber Web "
     "Site",
     O::InfoPane, O::Frame},
    {ID_3D_RENDERING, "", O::None, O::None},
    {ID_GESTURE_HELP, "Popup Mouse Gesture Help", O::Frame, O::Frame},
    {ID_FILE_NEW, "Create a new document\nNew", O::Document, O::None},
    {ID_FILE_OPEN, "Open an existing document\nOpen", O::Document, O::None},
    {ID_FILE_SAVE, "Save the active document\nSave", O::Document, O::View},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As", O::Document, O::View},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup", O::Framework,
     O::None},
    {ID_FILE_PRINT, "Print the active document\nPrint", O::Framework, O::None},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview", O::Framework, O::None},
    {ID_FILE_MRU_FILE1, "Open this document", O::App, O::App},
    {ID_FILE_MRU_FILE2, "Open this document", O::App, O::App},
    {ID_FILE_MRU_FILE3, "Open this document", O::App, O::App},
    {ID_FILE_MRU_FILE4, "Open this document", O::App, O::App},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy", O::View, O::View},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut", O::None, O::None},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste", O::View, O::View},
    {ID_EDIT_UNDO, "Undo the last action\nUndo", O::View, O::View},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout", O::App,
     O::None},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit", O::Framework, O::None},
    {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane", O::Framework, O::None},
    {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane", O::Framework, O::None},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar", O::Framework, O::Framework,
     kCheck},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar", O::Framework,
     O::Framework, kCheck},
});

std::string_view PromptPart(UINT id, bool tooltip) {
    const CommandInfo* info = CommandTable::Find(id);
    if (!info)
        return {};
    const std::string_view prompt = info->prompt;
    const auto feed = prompt.find('\n');
    if (feed == std::string_view::npos)
        return tooltip ? std::string_view{} : prompt;
    return tooltip ? prompt.substr(feed + 1) : prompt.substr(0, feed);
}

} // namespace

std::span<const CommandInfo> CommandTable::All() {
    return kCommands;
}

const CommandInfo* CommandTable::Find(UINT id) {
    const auto it = std::lower_bound(kCommands.begin(), kCommands.end(), id,
                                     [](const CommandInfo& c, UINT v) { return c.id < v; });
    return it != kCommands.end() && it->id == id ? &*it : nullptr;
}

std::string CommandTable::StatusText(UINT id) {
    return std::string(PromptPart(id, false));
}

std::string CommandTable::Tooltip(UINT id) {
    return std::string(PromptPart(id, true));
}
