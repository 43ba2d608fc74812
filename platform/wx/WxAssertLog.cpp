#include "platform/wx/WxAssertLog.h"

#include <wx/debug.h>
#include <wx/string.h>

#include <cstdio>

namespace {

void Report(const wxString& file, int line, const wxString& function, const wxString& condition,
            const wxString& message) {
    // One write per line, so that lines from other threads never interleave within it.
    const wxString text =
        wxString::Format("%s at %s:%d in %s(): %s%s%s\n", WxAssertLog::kMarker, file, line,
                         function, condition, message.empty() ? "" : ": ", message);
    const wxScopedCharBuffer bytes = text.utf8_str();
    std::fwrite(bytes.data(), 1, bytes.length(), stderr);
    std::fflush(stderr);
}

} // namespace

void WxAssertLog::Install() {
    wxSetAssertHandler(&Report);
}
