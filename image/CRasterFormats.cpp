#include "image/CRasterFormats.h"

#include "image/CRasterBMP.h"
#include "image/CRasterGIF.h"
#include "image/CRasterICO.h"
#include "image/CRasterJAS.h"
#include "image/CRasterJPG.h"
#include "image/CRasterPCX.h"
#include "image/CRasterPNG.h"
#include "image/CRasterTGA.h"
#include "image/CRasterTIF.h"
#include "image/CRasterWBMP.h"
#include "image/CRasterWMF.h"

#include <array>

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
