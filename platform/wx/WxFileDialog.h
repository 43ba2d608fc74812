#pragma once
#include "platform/FileDialog.h"

#include <string>

// Asks with the toolkit's modal file dialog, parented to the main window when there is one.
class WxFileDialog : public IFileDialog {
public:
    FileDialogAnswer Show(const FileDialogRequest& request) override;

    // The toolkit's wildcard string for a filter in the framework's form. The desktop's
    // dialog matches names case-sensitively, so an open dialog's patterns match letters in
    // either case ("*.bmp" finds PHOTO.BMP); a save dialog keeps them as written, since it
    // takes the extension it adds from them.
    static std::string Wildcard(const std::string& filter, bool anyCase);
};
