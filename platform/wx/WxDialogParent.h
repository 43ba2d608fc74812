#pragma once

class wxWindow;

// The window a modal box opens over: the application's top window, or else any top-level
// window that is shown. Never one that is closing: a box outlives nothing it depends on.
// Null when there is none (the box is then a window of its own).
wxWindow* WxDialogParent();
