#pragma once

class wxWindow;

// GTK shows overlay scroll bars only while the pointer moves; a window whose content is
// larger than itself should show where it is at all times.
void KeepScrollBarsShown(wxWindow& window);
