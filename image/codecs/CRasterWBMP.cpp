#include "image/codecs/CRasterWBMP.h"

#include "image/core/CRasterFile.h"

#include <vector>

std::optional<DWORD> CRasterWBMP::ReadInteger(CRasterFile& file) {
    std::uint64_t value = 0;
    for (int i = 0; i < 5; ++i) {
        const LONG c = file.GetC();
        if (c < 0)
            return std::nullopt;
        value = (value << 7) | (c & 0x7F);
        if ((c & 0x80) == 0)
            return value <= 0xFFFFFFFFu ? std::optional<DWORD>(static_cast<DWORD>(value))
                                        : std::nullopt;
    }
    return std::nullopt;
}

void CRasterWBMP::WriteInteger(DWORD value, BYTE* out, std::size_t& length) {
    BYTE groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<BYTE>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    for (int i = n - 1; i >= 0; --i)
        out[length++] = static_cast<BYTE>(groups[i] | (i > 0 ? 0x80 : 0));
}

bool CRasterWBMP::Decode(CRasterFile& file, const DecodeOptions& options) {
    const std::optional<DWORD> type = ReadInteger(file);
    const LONG fixedHeader = file.GetC();
    const std::optional<DWORD> width = ReadInteger(file);
    const std::optional<DWORD> height = ReadInteger(file);
    if (!type || fixedHeader < 0 || !width || !height)
        return Fail("Not a WBMP");
    if (*type != 0)
        return Fail("Unsupported WBMP type");
    // Bit 7 of the fixed header announces extension headers, which type 0 never has.
    if (*width < 1 || *height < 1 || (fixedHeader & 0x80) != 0)
        return Fail("Corrupted WBMP");
    const std::uint64_t rowBytes = (std::uint64_t(*width) + 7) / 8;
    const std::uint64_t estimate = PictureBytes(*width, *height, 1);
    if (!HeaderOnly() && !options.Allows(estimate))
        return FailTooLarge("WBMP", *width, *height, estimate, options);
    if (rowBytes * *height > BytesLeft(file))
        return Fail("Corrupted WBMP");
    if (HeaderOnly()) {
        SetHeaderOnly(*width, *height, 1);
        return true;
    }
    if (!Create(*width, *height, 1, kTypeWbmp))
        return Fail("WBMP Create failed");
    SetGrayPalette();
    for (DWORD top = 0; top < *height; ++top) {
        if (Cancelled())
            return false;
        if (!ReadExact(file, GetBits(*height - 1 - top), static_cast<std::size_t>(rowBytes)))
            return Fail("Corrupted WBMP");
    }
    return true;
}

bool CRasterWBMP::Encode(CRasterFile& file) {
    if (!CheckEncodeArgs(&file))
        return false;
    if (GetBpp() != 1)
        return Fail("Can't save this image as WBMP");
    BYTE header[2 + 5 + 5];
    std::size_t length = 0;
    header[length++] = 0; // type
    header[length++] = 0; // fixed header
    WriteInteger(GetWidth(), header, length);
    WriteInteger(GetHeight(), header, length);
    if (!WriteExact(file, header, length))
        return Fail("Error writing WBMP file");
    // A set bit is white; a palette whose first entry is the brighter one is written inverted.
    const bool invert = CompareLuminance(GetPaletteColor(0), GetPaletteColor(1)) > 0;
    const std::size_t rowBytes = (std::size_t{GetWidth()} + 7) / 8;
    std::vector<BYTE> row(rowBytes);
    for (DWORD top = 0; top < GetHeight(); ++top) {
        const BYTE* in = GetBits(GetHeight() - 1 - top);
        for (std::size_t i = 0; i < rowBytes; ++i)
            row[i] = invert ? static_cast<BYTE>(~in[i]) : in[i];
        if (GetWidth() % 8 != 0)
            row[rowBytes - 1] &= static_cast<BYTE>(0xFF << (8 - GetWidth() % 8));
        if (!WriteExact(file, row.data(), rowBytes))
            return Fail("Error writing WBMP file");
    }
    return true;
}
