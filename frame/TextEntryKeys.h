#pragma once
#include "platform/Accelerator.h"

// The editing keys of a text entry (copy, cut, paste, undo, select all) that the frame's
// key table must leave to it while it has the focus: the same strokes are accelerators of
// the drawing's commands, which would otherwise copy the drawing or replace the whole text.
class TextEntryKeys {
public:
    static bool BelongToTextEntry(const KeyStroke& stroke);
};
