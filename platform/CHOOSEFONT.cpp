#include "platform/CHOOSEFONT.h"

#include "platform/LittleEndian.h"

#include <type_traits>

namespace {

// The layout in field order, shared by writing and reading so that the two cannot drift.
template <typename Self, typename F> void ForEachField(Self& c, F&& f) {
    f(c.lStructSize);
    f(c.hwndOwner);
    f(c.hDC);
    f(c.lpLogFont);
    f(c.iPointSize);
    f(c.Flags);
    f(c.rgbColors);
    f(c.lCustData);
    f(c.lpfnHook);
    f(c.lpTemplateName);
    f(c.hInstance);
    f(c.lpszStyle);
    f(c.nFontType);
    f(c.wReserved);
    f(c.nSizeMin);
    f(c.nSizeMax);
}

} // namespace

std::array<BYTE, CHOOSEFONT::kBytes> CHOOSEFONT::ToBytes() const {
    std::array<BYTE, kBytes> out{};
    std::size_t at = 0;
    ForEachField(*this, [&](auto member) {
        PutLittleEndian(out.data() + at, member);
        at += sizeof(member);
    });
    return out;
}

CHOOSEFONT CHOOSEFONT::FromBytes(std::span<const BYTE, kBytes> bytes) {
    CHOOSEFONT c;
    std::size_t at = 0;
    ForEachField(c, [&](auto& member) {
        member = GetLittleEndian<std::remove_reference_t<decltype(member)>>(bytes.data() + at);
        at += sizeof(member);
    });
    return c;
}
