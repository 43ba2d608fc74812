#pragma once
#include "platform/FileDialog.h"

// Asks with the toolkit's modal file dialog, parented to the main window when there is one.
class WxFileDialog : public IFileDialog {
public:
    FileDialogAnswer Show(const FileDialogRequest& request) override;
};
