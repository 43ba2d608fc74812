#include "platform/LOGFONT.h"

#include "platform/LittleEndian.h"
#include "platform/TextFormat.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kLongs = 5;
constexpr std::size_t kFlagBytes = 8;
constexpr std::size_t kFaceOffset = kLongs * 4 + kFlagBytes;
static_assert(kFaceOffset + LOGFONT::kFaceBytes == LOGFONT::kBytes);
} // namespace

std::array<BYTE, LOGFONT::kBytes> LOGFONT::ToBytes() const {
    std::array<BYTE, kBytes> out{};
    const LONG longs[kLongs] = {lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight};
    for (std::size_t i = 0; i < kLongs; ++i)
        PutLittleEndian(out.data() + 4 * i, longs[i]);
    const BYTE flags[kFlagBytes] = {lfItalic,       lfUnderline,     lfStrikeOut, lfCharSet,
                                    lfOutPrecision, lfClipPrecision, lfQuality,   lfPitchAndFamily};
    std::memcpy(out.data() + kLongs * 4, flags, kFlagBytes);
    std::memcpy(out.data() + kFaceOffset, lfFaceName, kFaceBytes);
    return out;
}

LOGFONT LOGFONT::FromBytes(std::span<const BYTE, kBytes> bytes) {
    LOGFONT f;
    const BYTE* p = bytes.data();
    f.lfHeight = GetLittleEndian<LONG>(p);
    f.lfWidth = GetLittleEndian<LONG>(p + 4);
    f.lfEscapement = GetLittleEndian<LONG>(p + 8);
    f.lfOrientation = GetLittleEndian<LONG>(p + 12);
    f.lfWeight = GetLittleEndian<LONG>(p + 16);
    p += kLongs * 4;
    f.lfItalic = p[0];
    f.lfUnderline = p[1];
    f.lfStrikeOut = p[2];
    f.lfCharSet = p[3];
    f.lfOutPrecision = p[4];
    f.lfClipPrecision = p[5];
    f.lfQuality = p[6];
    f.lfPitchAndFamily = p[7];
    std::memcpy(f.lfFaceName, bytes.data() + kFaceOffset, kFaceBytes);
    return f;
}

std::string LOGFONT::FaceName() const {
    const char* end = std::find(lfFaceName, lfFaceName + kFaceBytes, '\0');
    return Cp1252ToUtf8(std::string_view(lfFaceName, static_cast<std::size_t>(end - lfFaceName)));
}

void LOGFONT::SetFaceName(std::string_view utf8) {
    const std::string cp = Utf8ToCp1252(utf8);
    std::memset(lfFaceName, 0, kFaceBytes);
    std::memcpy(lfFaceName, cp.data(), std::min(cp.size(), kFaceBytes - 1));
}
