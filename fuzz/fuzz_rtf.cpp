// Feeds arbitrary bytes to the rich text reader: it must end cleanly and produce valid runs.
#include "dialogs/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RtfDocument doc =
        RtfReader::Read(std::string_view(reinterpret_cast<const char*>(data), size));
    std::size_t total = 0;
    for (const RtfParagraph& p : doc.paragraphs)
        total += p.PlainText().size();
    if (total > size * 4 + 4)
        __builtin_trap(); // every output character comes from at least one input byte
    return 0;
}
