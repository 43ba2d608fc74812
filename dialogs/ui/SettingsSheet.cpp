#include "dialogs/ui/SettingsSheet.h"

#include "dialogs/ui/SettingsSheetDialog.h"

#include <wx/bookctrl.h>

bool SettingsSheet::Run(const std::string& title, int startPage, SettingsPages& pages) {
    SettingsSheetDialog sheet(parent_, title, pages, sets_);
    if (startPage >= 0 && startPage < int(sheet.GetBookCtrl()->GetPageCount()))
        sheet.GetBookCtrl()->SetSelection(std::size_t(startPage));
    const int answer = runner_ ? runner_(sheet) : sheet.ShowModal();
    return answer == wxID_OK;
}
