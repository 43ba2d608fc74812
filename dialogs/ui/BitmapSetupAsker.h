#pragma once
#include "view/IPictureSizeDialog.h"

class wxWindow;

// Asks for the export size through the Bitmap Setup window; one maze per export, so the
// count shows 1 and can't be changed.
class BitmapSetupAsker : public IPictureSizeDialog {
public:
    explicit BitmapSetupAsker(wxWindow* parent) : parent_(parent) {}
    bool Ask(PictureSize& size) override;

private:
    wxWindow* parent_;
};
