#include "res/MenuResource.h"

#include "res/CommandIds.h"

namespace {

MenuItem Cmd(UINT id, std::string text) {
    return {MenuItem::Kind::Command, id, std::move(text), {}};
}
MenuItem Sep() {
    return {MenuItem::Kind::Separator, 0, {}, {}};
}
MenuItem Popup(std::string text, std::vector<MenuItem> items) {
    return {MenuItem::Kind::Popup, 0, std::move(text), std::move(items)};
}

std::vector<MenuItem> FileMenu() {
    return {Cmd(ID_FILE_NEW, "&New\tCtrl+N"),
            Cmd(ID_FILE_OPEN, "&Open...\tCtrl+O"),
            Cmd(ID_FILE_SAVE, "&Save\tCtrl+S"),
            Cmd(ID_FILE_SAVE_AS, "Save &As..."),
            Sep(),
            Cmd(ID_TEMPLATE_GALLERY, "Show Template Gallery"),
            Cmd(ID_TILER_GALLERY, "Show Tiler Gallery"),
            Sep(),
            Cmd(ID_SAVE_IMAGE_FILE, "Save to Image File"),
            Cmd(ID_SAVE_EMF, "Save to EMF"),
            Sep(),
            Cmd(ID_PAGE_SETUP, "Page Setup"),
            Cmd(ID_FILE_PRINT, "&Print...\tCtrl+P"),
            Cmd(ID_FILE_PRINT_PREVIEW, "Print Pre&view"),
            Cmd(ID_FILE_PRINT_SETUP, "P&rint Setup..."),
            Sep(),
            Cmd(ID_FILE_MRU_FILE1, "Recent File"),
            Sep(),
            Cmd(ID_APP_EXIT, "E&xit")};
}

std::vector<MenuItem> EditMenu() {
    return {Cmd(ID_EDIT_UNDO, "&Undo\tCtrl+Z"), Sep(), Cmd(ID_EDIT_CUT, "Cu&t\tCtrl+X"),
            Cmd(ID_EDIT_COPY, "&Copy\tCtrl+C"), Cmd(ID_EDIT_PASTE, "&Paste\tCtrl+V")};
}

std::vector<MenuItem> MazeOptionsMenu() {
    return {Cmd(ID_MAZE_SETUP, "Maze Setup"),
            Cmd(ID_SET_PEN_WIDTH, "Set &Printing Pen Width"),
            Sep(),
            Cmd(ID_APPLY_BMP_MASK, "Apply BMP Mask"),
            Cmd(ID_MASK_GALLERY, "Show Mask Gallery"),
            Sep(),
            Cmd(ID_MAKE_MAZE, "Make Maze"),
            Cmd(ID_RERENDER_MAZE, "ReRender Maze"),
            Cmd(ID_CLEAR_MAZE, "Clear Maze"),
            Sep(),
            Popup("Active Layer",
                  {Cmd(ID_LAYER_BACKGROUND, "BackGround Imgs"), Cmd(ID_LAYER_MAZE, "Maze Template"),
                   Cmd(ID_LAYER_FOREGROUND, "ForeGround Imgs"), Cmd(ID_LAYER_TEXT, "Text Layer")})};
}

std::vector<MenuItem> ViewMenu() {
    return {Cmd(ID_VIEW_TOOLBAR, "System &Toolbar"),
            Cmd(ID_VIEW_EDIT_TOOLBAR, "Edit Toolbar"),
            Cmd(ID_VIEW_STATUS_BAR, "&Status Bar"),
            Sep(),
            Cmd(ID_SHOW_BACKGROUND, "BackGround Imgs"),
            Cmd(ID_SHOW_MAZE, "Maze Template"),
            Cmd(ID_SHOW_FOREGROUND, "ForeGround Imgs"),
            Cmd(ID_SHOW_TEXT, "Text Layer"),
            Cmd(ID_VIEW_SOLUTION, "View Solution"),
            Sep(),
            Cmd(ID_SHOW_ERASED_CELLS, "Show Erased Cells"),
            Cmd(ID_ANIMATED_CREATION, "Animated Creation"),
            Cmd(ID_INFO_BOX, "Info Box"),
            Cmd(ID_3D_RENDERING, "3D Rendering")};
}

std::vector<MenuItem> HelpMenu() {
    return {Cmd(ID_APP_ABOUT, "&About Orlimber..."),
            Cmd(ID_GESTURE_HELP, "Mouse Gesture Control"),
            Cmd(ID_USER_MANUAL, "Goto Online Orlimber User Manual"),
            Cmd(ID_FORUM, "Goto Online Orlimber Forum/Support"),
            Cmd(ID_HOME_PAGE, "Goto ORLIMBER &HOME PAGE"),
            Cmd(ID_MAILING_LIST, "Goto Orlimber Mailing List"),
            Cmd(ID_CHECK_UPDATES, "Check For Program Updates"),
            Cmd(ID_HEAR_ABOUT, "Hear About Orlimber")};
}

} // namespace

const std::vector<MenuItem>& MenuResource::MainMenuBar() {
    static const std::vector<MenuItem> bar = {
        Popup("&File", FileMenu()), Popup("&Edit", EditMenu()),
        Popup("Maze Options", MazeOptionsMenu()), Popup("&View", ViewMenu()),
        Popup("&Help", HelpMenu())};
    return bar;
}
