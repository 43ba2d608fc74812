#include "frame/TextEntryKeys.h"

#include "platform/VirtualKeys.h"

bool TextEntryKeys::BelongToTextEntry(const KeyStroke& k) {
    if (k.alt)
        return false;
    if (k.control && !k.shift)
        switch (k.key) {
        case 'C':
        case 'X':
        case 'V':
        case 'Z':
        case 'A':
        case VK_INSERT:
            return true;
        default:
            return false;
        }
    if (k.shift && !k.control)
        return k.key == VK_INSERT || k.key == VK_DELETE;
    return false;
}
