#include "view/CancellableLoad.h"

#include "image/CRaster.h"

#include <array>
#include <cstring>
#include <fstream>

namespace {

// The format a file's first bytes claim, so that a damaged picture of a known kind fails with
// its reader's reason instead of "unknown format"; unknown when no signature matches (the
// load then tries every format as before).
DWORD ClaimedType(const std::string& path) {
    std::array<char, 8> head{};
    std::ifstream in(path, std::ios::binary);
    in.read(head.data(), head.size());
    const auto starts = [&](const char* signature, std::size_t length) {
        return static_cast<std::size_t>(in.gcount()) >= length &&
               std::memcmp(head.data(), signature, length) == 0;
    };
    if (starts("BM", 2))
        return CRaster::kTypeBmp;
    if (starts("GIF8", 4))
        return CRaster::kTypeGif;
    if (starts("II*\0", 4) || starts("MM\0*", 4))
        return CRaster::kTypeTif;
    if (starts("\x89PNG\r\n\x1a\n", 8))
        return CRaster::kTypePng;
    if (starts("\xff\xd8\xff", 3))
        return CRaster::kTypeJpg;
    return CRaster::kTypeUnknown;
}

} // namespace

CancellableLoad::CancellableLoad(CRaster& picture)
    : picture_(picture), previous_(picture.Info().decode.stop) {
    picture_.Info().decode.stop = this;
}

CancellableLoad::~CancellableLoad() {
    picture_.Info().decode.stop = previous_;
}

bool CancellableLoad::Load(CRaster& picture, const std::string& path) {
    CancellableLoad load(picture);
    return picture.Load(path, ClaimedType(path));
}
