// Hostile page titles, page-list lines and download names: the readers stay inside their text and
// keep every value in range.
#include "dialogs/AdTitle.h"
#include "dialogs/CAdList.h"
#include "net/DownloadName.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const AdTitle::Values v = AdTitle::Parse(text);
    for (const auto& ms :
         {v.rotationMs, v.loadHeight, v.secondHeight, v.openDelayMs, v.collapseDelayMs})
        if (ms && *ms < 0)
            __builtin_trap();
    if (v.message.size() > text.size())
        __builtin_trap();
    CAdList entry;
    CAdList::FromLine(text, "/html/", entry);
    std::string name;
    if (DownloadName::FromUrl(text, name) &&
        (name == ".." || name.find_first_of("/\\") != std::string::npos))
        __builtin_trap();
    return 0;
}
