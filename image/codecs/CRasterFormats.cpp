#include "image/codecs/CRasterFormats.h"

#include "image/codecs/CRasterBMP.h"
#include "image/codecs/CRasterGIF.h"
#include "image/codecs/CRasterICO.h"
#include "image/codecs/CRasterJAS.h"
#include "image/codecs/CRasterJPG.h"
#include "image/codecs/CRasterPCX.h"
#include "image/codecs/CRasterPNG.h"
#include "image/codecs/CRasterTGA.h"
#include "image/codecs/CRasterTIF.h"
#include "image/codecs/CRasterWBMP.h"
#include "image/codecs/CRasterWMF.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

template <class Codec> std::unique_ptr<CRasterCodec> Make(DWORD) {
    return std::make_unique<Codec>();
}

std::unique_ptr<CRasterCodec> MakeJas(DWORD type) {
    return std::make_unique<CRasterJAS>(type);
}

using T = CRaster::Type;

// Indexed by type id; only the unknown type has no codec.
const std::array<CRasterFormats::Entry, 16> kFormats{{
    {T::kTypeUnknown, "unknown", false, nullptr},
    {T::kTypeBmp, "BMP", true, &Make<CRasterBMP>},
    {T::kTypeGif, "GIF", true, &Make<CRasterGIF>},
    {T::kTypeJpg, "JPEG", true, &Make<CRasterJPG>},
    {T::kTypePng, "PNG", true, &Make<CRasterPNG>},
    {T::kTypeIco, "ICO", true, &Make<CRasterICO>},
    {T::kTypeTif, "TIFF", true, &Make<CRasterTIF>},
    {T::kTypeTga, "TGA", true, &Make<CRasterTGA>},
    {T::kTypePcx, "PCX", true, &Make<CRasterPCX>},
    {T::kTypeWbmp, "WBMP", true, &Make<CRasterWBMP>},
    {T::kTypeWmf, "WMF", false, &Make<CRasterWMF>},
    {T::kTypeJp2, "JP2", true, &MakeJas},
    {T::kTypeJpc, "JPC", true, &MakeJas},
    {T::kTypePgx, "PGX", true, &MakeJas},
    {T::kTypePnm, "PNM", true, &MakeJas},
    {T::kTypeRas, "RAS", true, &MakeJas},
}};

// The JPEG 2000 family shares one class that recognises every member by its signature, so
// detection tries it once.
const std::array<DWORD, 11> kDetectionOrder{T::kTypeBmp,  T::kTypeJpg, T::kTypeIco, T::kTypeGif,
                                            T::kTypePng,  T::kTypeTif, T::kTypeTga, T::kTypePcx,
                                            T::kTypeWbmp, T::kTypeWmf, T::kTypeJp2};

} // namespace

const CRasterFormats::Entry* CRasterFormats::Find(DWORD type) {
    if (type == T::kTypeUnknown || type >= kFormats.size())
        return nullptr;
    return &kFormats[type];
}

std::unique_ptr<CRasterCodec> CRasterFormats::MakeCodec(DWORD type) {
    const Entry* e = Find(type);
    if (e == nullptr || e->make == nullptr)
        return nullptr;
    return e->make(type);
}

std::span<const DWORD> CRasterFormats::DetectionOrder() {
    return kDetectionOrder;
}

DWORD CRasterFormats::Claimed(std::span<const BYTE> head) {
    const auto starts = [&](std::string_view signature) {
        return head.size() >= signature.size() &&
               std::equal(signature.begin(), signature.end(), head.begin(),
                          [](char a, BYTE b) { return static_cast<BYTE>(a) == b; });
    };
    using namespace std::string_view_literals;
    // "BM" alone starts too much text; the info header's size must be one that exists.
    if (starts("BM"sv) && head.size() >= 18) {
        const DWORD infoSize =
            head[14] | head[15] << 8 | DWORD(head[16]) << 16 | DWORD(head[17]) << 24;
        for (DWORD size : {12u, 40u, 52u, 56u, 64u, 108u, 124u})
            if (infoSize == size)
                return T::kTypeBmp;
    }
    if (starts("GIF8"sv))
        return T::kTypeGif;
    if (starts("II*\0"sv) || starts("MM\0*"sv))
        return T::kTypeTif;
    if (starts("\x89PNG\r\n\x1a\n"sv))
        return T::kTypePng;
    if (starts("\xff\xd8\xff"sv))
        return T::kTypeJpg;
    if (starts("\0\0\0\x0cjP  "sv) || starts("\xff\x4f\xff\x51"sv))
        return T::kTypeJp2;
    return T::kTypeUnknown;
}
