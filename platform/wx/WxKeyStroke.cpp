#include "platform/wx/WxKeyStroke.h"

#include "platform/VirtualKeys.h"

#include <wx/event.h>

namespace {

WORD VirtualKey(int code) {
    if (code >= WXK_F1 && code <= WXK_F12)
        return static_cast<WORD>(VK_F1 + (code - WXK_F1));
    switch (code) {
    case WXK_ESCAPE:
        return VK_ESCAPE;
    case WXK_SPACE:
        return VK_SPACE;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        return VK_DELETE;
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT:
        return VK_INSERT;
    case WXK_UP:
    case WXK_NUMPAD_UP:
        return VK_UP;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        return VK_DOWN;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
        return VK_LEFT;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
        return VK_RIGHT;
    case WXK_HOME:
        return VK_HOME;
    case WXK_END:
        return VK_END;
    case WXK_PAGEUP:
        return VK_PRIOR;
    case WXK_PAGEDOWN:
        return VK_NEXT;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        return VK_RETURN;
    case WXK_TAB:
        return VK_TAB;
    case WXK_BACK:
        return VK_BACK;
    default:
        break;
    }
    if (code >= 'a' && code <= 'z')
        return static_cast<WORD>(code - 'a' + 'A');
    if (code > 0 && code < 0x7F)
        return static_cast<WORD>(code);
    return 0;
}

} // namespace

KeyStroke WxKeyStroke(const wxKeyEvent& event) {
    KeyStroke k;
    k.key = VirtualKey(event.GetKeyCode());
    k.shift = event.ShiftDown();
    k.control = event.ControlDown();
    k.alt = event.AltDown();
    return k;
}
