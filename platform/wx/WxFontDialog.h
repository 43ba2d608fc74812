#pragma once
#include "platform/FontDialog.h"

// Asks with the program's own modal font dialog, parented to the main window when there is
// one.
class WxFontDialog : public IFontDialog {
public:
    FontDialogAnswer Show(const FontDialogRequest& request) override;
};
