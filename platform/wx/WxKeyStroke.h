#pragma once
#include "platform/Accelerator.h"

class wxKeyEvent;

// The key press of a wx key event in the program's key numbering.
KeyStroke WxKeyStroke(const wxKeyEvent& event);
