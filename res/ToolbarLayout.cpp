#include "res/ToolbarLayout.h"

#include "res/CommandIds.h"

#include <array>

namespace {

constexpr std::array<UINT, 15> kStandard = {ID_FILE_NEW,
                                            ID_FILE_OPEN,
                                            ID_FILE_SAVE,
                                            0,
                                            ID_EDIT_CUT,
                                            ID_EDIT_COPY,
                                            ID_EDIT_PASTE,
                                            0,
                                            ID_FILE_PRINT,
                                            ID_APP_ABOUT,
                                            0,
                                            ID_LAYER_BACKGROUND,
                                            ID_LAYER_MAZE,
                                            ID_LAYER_FOREGROUND,
                                            ID_LAYER_TEXT};

constexpr std::array<UINT, 14> kEdit = {
    ID_MAZE_SETUP,  0, ID_DELETE_ITEM,        ID_TOOL_RESET,     ID_TOOL_BLACKEN,
    ID_TOOL_WHITEN, 0, ID_BRING_TO_TOP,       ID_MOVE_TO_BOTTOM, ID_TOOL_START,
    ID_TOOL_STOP,   0, ID_TOOL_DRAW_SOLUTION, ID_TOOL_GROW};

} // namespace

std::span<const UINT> ToolbarLayout::Standard() {
    return kStandard;
}

std::span<const UINT> ToolbarLayout::Edit() {
    return kEdit;
}
