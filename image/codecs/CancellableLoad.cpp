#include "image/codecs/CancellableLoad.h"

#include "image/core/CRaster.h"

CancellableLoad::CancellableLoad(CRaster& picture)
    : picture_(picture), previous_(picture.Info().decode.stop) {
    picture_.Info().decode.stop = this;
}

CancellableLoad::~CancellableLoad() {
    picture_.Info().decode.stop = previous_;
}

bool CancellableLoad::Load(CRaster& picture, const std::string& path) {
    CancellableLoad load(picture);
    return picture.Load(path, CRaster::kTypeUnknown);
}
