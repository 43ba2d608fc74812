#include "view/GestureCommandTable.h"

#include "res/CommandIds.h"

#include <cstring>

namespace {

constexpr GestureCommand Row(const char* name, const char* layer, DWORD command, const char* sound,
                             const char* title, const char* description) {
    return {name, layer, "C", command, nullptr, sound, title, description};
}

// clang-format off
constexpr std::array<GestureCommand, kGestureCommandRows> kRows{{
    Row("circle", "A", ID_MAZE_SETUP, "found", "Orlimber Setup", "Setup"),
    Row("C", "A", ID_EDIT_COPY, "found", "Edit Copy", "Edit Copy Function"),
    Row("Z", "A", ID_FILE_SAVE_AS, "found", "File Save", "File Save Function"),
    Row("down-right", "A", ID_EDIT_UNDO, "found", "UNDO", "Edit UNDO"),
    Row("S", "A", ID_VIEW_SOLUTION, "found", "Show Solution", "Make the Solution Visable"),
    Row("question", "A", ID_GESTURE_HELP, "gesturewaiting", "Dump Glyphs", "Save a BMP of all the Glyphs"),
    Row("M", "B", ID_LAYER_MAZE, nullptr, "Select Maze Layer", "Goto maze layer if on background"),
    Row("M", "F", ID_LAYER_MAZE, nullptr, "Select Maze Layer", "Goto maze layer if on foreground"),
    Row("M", "T", ID_LAYER_MAZE, nullptr, "Select Maze Layer", "Goto maze layer if on Text Layer"),
    Row("M", "M", ID_APPLY_BMP_MASK, nullptr, "Apply Mask", "Maze Layer, apply MASK"),
    Row("left-right", "B", ID_LAYER_TEXT, nullptr, "Roll Layer Right", "Roll Layer Right"),
    Row("left-right", "M", ID_LAYER_BACKGROUND, nullptr, "Roll Layer Right", "Roll Layer Right"),
    Row("left-right", "F", ID_LAYER_MAZE, nullptr, "Roll Layer Right", "Roll Layer Right"),
    Row("left-right", "T", ID_LAYER_FOREGROUND, nullptr, "Roll Layer Right", "Roll Layer Right"),
    Row("right-left", "B", ID_LAYER_MAZE, nullptr, "Roll Layer Left", "Roll Layer Left"),
    Row("right-left", "M", ID_LAYER_FOREGROUND, nullptr, "Roll Layer Left", "Roll Layer Left"),
    Row("right-left", "F", ID_LAYER_TEXT, nullptr, "Roll Layer Left", "Roll Layer Left"),
    Row("right-left", "T", ID_LAYER_BACKGROUND, nullptr, "Roll Layer Left", "Roll Layer Left"),
    Row("rectangle", "B", ID_DELETE_ITEM, nullptr, "Delete Object", "Delete Object from Background"),
    Row("rectangle", "F", ID_DELETE_ITEM, nullptr, "Delete Object", "Delete Object from Foreground"),
    Row("rectangle", "T", ID_DELETE_ITEM, nullptr, "Delete Object", "Delete Object from Text"),
    Row("up-arrow", "B", ID_BRING_TO_TOP, nullptr, "Object to Top", "Object to Top on Background"),
    Row("up-arrow", "F", ID_BRING_TO_TOP, nullptr, "Object to Top", "Object to Top on Foreground"),
    Row("up-arrow", "T", ID_BRING_TO_TOP, nullptr, "Object to Top", "Object to Top on Text"),
    Row("down-arrow", "B", ID_MOVE_TO_BOTTOM, nullptr, "Object to Back", "Object to Back on Background"),
    Row("down-arrow", "F", ID_MOVE_TO_BOTTOM, nullptr, "Object to Back", "Object to Back on Foreground"),
    Row("down-arrow", "T", ID_MOVE_TO_BOTTOM, nullptr, "Object to Back", "Object to Back on Text"),
    Row("P", "B", ID_EDIT_PASTE, nullptr, "Edit Paste", "Edit Paste Function from Background"),
    Row("P", "F", ID_EDIT_PASTE, nullptr, "Edit Paste", "Edit Paste Function from Foreground"),
    Row("P", "T", ID_EDIT_PASTE, nullptr, "Edit Paste", "Edit Paste Function from Text"),
    Row("slash", "M", ID_TOOL_WHITEN, nullptr, "Erase Tool", "Apply Erase command"),
    Row("reverse-slash", "M", ID_TOOL_BLACKEN, nullptr, "Blacken", "Select Blacken Tool"),
    Row("backslash", "M", ID_TOOL_RESET, nullptr, "Reset Tool", "Apply Reset command"),
    Row("reverse-backslash", "M", ID_TOOL_GROW, nullptr, "SEED", "Select Seed Tool"),
    Row("left-arrow", "M", ID_TOOL_START, nullptr, "START Tool", "Apply start command"),
    Row("right-arrow", "M", ID_TOOL_STOP, nullptr, "STOP Tool", "Select stop Tool"),
    Row("R", "M", ID_RERENDER_MAZE, nullptr, "Re-Render Maze", "Apply Rerender to maze"),
    Row("P", "M", ID_FILE_PRINT, "found", "Print", "Print Function"),
    {nullptr, "*", "*", 0, "*", "notfound", "Command Not Found",
     "Mouse Gesture could not be matched to valid action"},
}};
// clang-format on

} // namespace

const std::array<GestureCommand, kGestureCommandRows>& GestureCommandTable::Rows() {
    return kRows;
}

std::string GestureCommandTable::LayerLetter(int activeLayer) {
    switch (activeLayer) {
    case 1:
        return "B";
    case 2:
        return "M";
    case 3:
        return "F";
    case 4:
        return "T";
    default:
        return "";
    }
}

std::size_t GestureCommandTable::Find(const std::string& name, int activeLayer) {
    const std::string letter = LayerLetter(activeLayer);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const GestureCommand& row = kRows[i];
        if (!row.name)
            return i;
        if (name == row.name && (letter == row.layer || std::strcmp(row.layer, "A") == 0))
            return i;
    }
    return kTerminator;
}

const char* GestureCommandTable::SoundOf(const GestureCommand& row) {
    return row.sound ? row.sound : "found";
}
