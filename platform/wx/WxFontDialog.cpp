#include "platform/wx/WxFontDialog.h"

#include "platform/wx/FontChoiceDialog.h"
#include "platform/wx/WxDialogParent.h"

#include <wx/app.h>

FontDialogAnswer WxFontDialog::Show(const FontDialogRequest& request) {
    wxWindow* parent = WxDialogParent();
    FontChoiceDialog dialog(parent, FontChoice::From(request));
    if (dialog.ShowModal() != wxID_OK)
        return {};
    return IFontDialog::Answer(dialog.Choice(), request);
}
