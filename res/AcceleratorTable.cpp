#include "res/AcceleratorTable.h"

#include "platform/VirtualKeys.h"
#include "res/CommandIds.h"

#include <array>

namespace {

constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
constexpr BYTE kAlt = FVIRTKEY | FALT;
constexpr BYTE kShift = FVIRTKEY | FSHIFT;
constexpr BYTE kCtrlShift = FVIRTKEY | FCONTROL | FSHIFT;
constexpr BYTE kCtrlAlt = FVIRTKEY | FCONTROL | FALT;

constexpr std::array kMain = std::to_array<ACCEL>({
    {kCtrl, 'N', ID_FILE_NEW},
    {kCtrl, 'O', ID_FILE_OPEN},
    {kCtrl, 'S', ID_FILE_SAVE},
    {kCtrl, VK_F1, ID_TEMPLATE_GALLERY},
    {kCtrl, VK_F2, ID_TILER_GALLERY},
    {kCtrl, 'I', ID_SAVE_IMAGE_FILE},
    {kCtrl, 'E', ID_SAVE_EMF},
    {kCtrl, 'P', ID_FILE_PRINT},
    {kCtrl, 'Z', ID_EDIT_UNDO},
    {kCtrl, 'X', ID_EDIT_CUT},
    {kShift, VK_DELETE, ID_EDIT_CUT},
    {kCtrl, 'C', ID_EDIT_COPY},
    {kCtrl, VK_INSERT, ID_EDIT_COPY},
    {kCtrl, 'V', ID_EDIT_PASTE},
    {kShift, VK_INSERT, ID_EDIT_PASTE},
    {kAlt, VK_ESCAPE, ID_MAZE_SETUP},
    {kAlt, 'M', ID_APPLY_BMP_MASK},
    {kCtrl, VK_F3, ID_MASK_GALLERY},
    {kAlt, VK_SPACE, ID_MAKE_MAZE},
    {kCtrl, 'R', ID_RERENDER_MAZE},
    {kCtrlAlt, 'C', ID_CLEAR_MAZE},
    {kCtrl, '1', ID_LAYER_BACKGROUND},
    {kCtrl, '2', ID_LAYER_MAZE},
    {kCtrl, '3', ID_LAYER_FOREGROUND},
    {kCtrl, '4', ID_LAYER_TEXT},
    {kCtrlShift, '1', ID_SHOW_BACKGROUND},
    {kCtrlShift, '2', ID_SHOW_MAZE},
    {kCtrlShift, '3', ID_SHOW_FOREGROUND},
    {kCtrlShift, '4', ID_SHOW_TEXT},
    {kCtrlShift, '5', ID_VIEW_SOLUTION},
    {kCtrl, 'A', ID_ANIMATED_CREATION},
    {kAlt, 'R', ID_TOOL_RESET},
    {kAlt, 'B', ID_TOOL_BLACKEN},
    {kAlt, 'E', ID_TOOL_WHITEN},
    {FALT, ',', ID_TOOL_START},
    {FALT, '<', ID_TOOL_START},
    {FALT, '.', ID_TOOL_STOP},
    {FALT, '>', ID_TOOL_STOP},
    {kAlt, 'S', ID_TOOL_GROW},
    {kAlt, 'X', ID_DELETE_ITEM},
    {kAlt, 'Z', ID_TOOL_DRAW_SOLUTION},
    {kAlt, VK_UP, ID_BRING_TO_TOP},
    {kAlt, VK_DOWN, ID_MOVE_TO_BOTTOM},
    {kCtrlAlt, 'N', ID_REGENERATE_PATH},
    {kCtrl, VK_F4, ID_UNHANDLED_CTRL_F4},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {kShift, VK_F6, ID_PREV_PANE},
});

} // namespace

std::span<const ACCEL> AcceleratorTable::Main() {
    return kMain;
}

bool AcceleratorTable::Matches(const ACCEL& accel, const KeyStroke& stroke) {
    if (accel.key != stroke.key || ((accel.fVirt & FALT) != 0) != stroke.alt ||
        ((accel.fVirt & FCONTROL) != 0) != stroke.control)
        return false;
    return !(accel.fVirt & FVIRTKEY) || ((accel.fVirt & FSHIFT) != 0) == stroke.shift;
}

UINT AcceleratorTable::Find(const KeyStroke& stroke) {
    for (const ACCEL& a : kMain)
        if (Matches(a, stroke))
            return a.cmd;
    return 0;
}
