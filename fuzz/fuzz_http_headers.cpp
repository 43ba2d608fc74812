// Hostile response header lines: the header block keeps its bound and field look-ups stay
// inside the text.
#include "net/HttpHeaderBlock.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    HttpHeaderBlock block;
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t end = input.find('\n', start);
        end = end == std::string_view::npos ? input.size() : end + 1;
        if (!block.AddLine(input.substr(start, end - start)))
            break;
        start = end;
    }
    if (block.Raw().size() > HttpHeaderBlock::kMaxBytes)
        __builtin_trap();
    std::string value;
    for (const char* name : {"Last-Modified", "Content-Length", "Location", ""})
        block.Field(name, value);
    return 0;
}
