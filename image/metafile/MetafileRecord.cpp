#include "image/metafile/MetafileRecord.h"

#include "platform/TextFormat.h"

std::string Utf16LeToUtf8(std::span<const BYTE> bytes) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t c = GetLittleEndian<WORD>(&bytes[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = GetLittleEndian<WORD>(&bytes[i + 2]);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, c >= 0xD800 && c < 0xE000 ? '?' : c);
    }
    return out;
}
