#include "image/CRasterFormats.h"

#include "image/CRasterBMP.h"
#include "image/CRasterGIF.h"
#include "image/CRasterICO.h"
#include "image/CRasterJPG.h"
#include "image/CRasterPCX.h"
#include "image/CRasterPNG.h"
#include "image/CRasterTGA.h"
#include "image/CRasterTIF.h"
#include "image/CRasterUnavailable.h"
#include "image/CRasterWBMP.h"

#include <array>

namespace {

template <class Codec> std::unique_ptr<CRasterCodec> Make(DWORD) {
    return std::make_unique<Codec>();
}

using T = CRaster::Type;

// Indexed by type id. A row whose factory is null gets the stand-in codec.
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
    {T::kTypeWmf, "WMF", false, nullptr},
    {T::kTypeJp2, "JP2", true, nullptr},
    {T::kTypeJpc, "JPC", true, nullptr},
    {T::kTypePgx, "PGX", true, nullptr},
    {T::kTypePnm, "PNM", true, nullptr},
    {T::kTypeRas, "RAS", true, nullptr},
}};

// The JPEG 2000 family shares one class that detects its member format itself; until it
// exists, detection simply has nothing to try for those ids.
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
    if (e == nullptr)
        return nullptr;
    if (e->make != nullptr)
        return e->make(type);
    return std::make_unique<CRasterUnavailable>(type, e->name, e->writable);
}

std::span<const DWORD> CRasterFormats::DetectionOrder() {
    return kDetectionOrder;
}
