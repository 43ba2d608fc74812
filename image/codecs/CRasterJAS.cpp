#include "image/codecs/CRasterJAS.h"

#include "image/codecs/CRasterJ2K.h"
#include "image/codecs/CRasterPGX.h"
#include "image/codecs/CRasterPNM.h"
#include "image/codecs/CRasterRAS.h"
#include "image/core/CRasterFile.h"

#include <cstring>

namespace {

constexpr BYTE kJp2Signature[] = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50,
                                  0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
constexpr BYTE kJ2kSignature[] = {0xFF, 0x4F, 0xFF, 0x51};
constexpr BYTE kRasSignature[] = {0x59, 0xA6, 0x6A, 0x95};

template <std::size_t N> bool StartsWith(const BYTE* head, std::size_t size, const BYTE (&sig)[N]) {
    return size >= N && std::memcmp(head, sig, N) == 0;
}

// Every palette entry grey: such pictures are written as their grey levels.
bool IsGreyPicture(const CRaster& image) {
    for (DWORD i = 0; i < image.GetNumColors(); ++i) {
        const RGBQUAD c = image.GetPaletteColor(i);
        if (c.rgbRed != c.rgbGreen || c.rgbGreen != c.rgbBlue)
            return false;
    }
    return image.GetNumColors() > 0;
}

} // namespace

DWORD CRasterJAS::Recognise(const BYTE* head, std::size_t size) {
    if (StartsWith(head, size, kJp2Signature))
        return kTypeJp2;
    if (StartsWith(head, size, kJ2kSignature))
        return kTypeJpc;
    if (StartsWith(head, size, kRasSignature))
        return kTypeRas;
    if (size >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6')
        return kTypePnm;
    if (size >= 2 && head[0] == 'P' && head[1] == 'G')
        return kTypePgx;
    return kTypeUnknown;
}

std::unique_ptr<CRasterCodec> CRasterJAS::MakeMember(DWORD type) {
    switch (type) {
    case kTypeJp2:
    case kTypeJpc:
        return std::make_unique<CRasterJ2K>(type);
    case kTypePgx:
        return std::make_unique<CRasterPGX>();
    case kTypePnm:
        return std::make_unique<CRasterPNM>();
    case kTypeRas:
        return std::make_unique<CRasterRAS>();
    default:
        return nullptr;
    }
}

bool CRasterJAS::Decode(CRasterFile& file, const DecodeOptions& options) {
    const LONG start = file.Tell();
    BYTE head[sizeof kJp2Signature] = {};
    const std::size_t got = file.Read(head, 1, sizeof head);
    if (!file.Seek(start, 0))
        return Fail("error: cannot open standard input");
    const DWORD found = Recognise(head, got);
    std::unique_ptr<CRasterCodec> member = MakeMember(found);
    if (!member)
        return Fail("error: unknowm format");
    member->CopyInfoFrom(*this);
    member->SetLastError("");
    if (!member->Decode(file, options)) {
        SetLastError(member->GetLastError());
        Info().numFrames = member->Info().numFrames;
        return false;
    }
    if (!TakeOver(*member))
        return Fail("error: cannot load image data");
    SetType(found);
    if (HeaderOnly())
        SetLastError("output dimensions returned");
    return true;
}

bool CRasterJAS::Encode(CRasterFile& file) {
    const bool grey = GetBpp() != 24;
    if (grey && !IsGreyPicture(*this))
        return Fail("JasPer can save only RGB or GrayScale images");
    if (format_ == kTypePgx && !grey)
        return Fail("PGX can save only GrayScale images");
    std::unique_ptr<CRasterCodec> member = MakeMember(format_);
    if (!member)
        return Fail("error: unknowm format");
    member->ShareFrom(this);
    if (member->Encode(file))
        return true;
    SetLastError(member->GetLastError());
    return false;
}
