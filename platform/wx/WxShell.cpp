#include "platform/wx/WxShell.h"

#include <wx/mimetype.h>
#include <wx/utils.h>

bool WxShell::Open(const std::string& target) {
    const wxString where = wxString::FromUTF8(target);
    if (where.Contains("://"))
        return wxLaunchDefaultBrowser(where);
    return wxLaunchDefaultApplication(where);
}
