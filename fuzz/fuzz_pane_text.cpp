// Hostile page titles and page-list lines: both readers stay inside their text and keep
// every value in range.
#include "dialogs/AdTitle.h"
#include "dialogs/CAdList.h"

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
    return 0;
}
