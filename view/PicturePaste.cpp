#include "view/PicturePaste.h"

#include "image/codecs/CancellableLoad.h"
#include "image/core/CRaster.h"

#include <string_view>

namespace {

DWORD TypeOf(std::string_view mime) {
    if (mime == "image/png")
        return CRaster::kTypePng;
    if (mime == "image/bmp" || mime == "image/x-bmp" || mime == "image/x-MS-bmp")
        return CRaster::kTypeBmp;
    if (mime == "image/tiff")
        return CRaster::kTypeTif;
    if (mime == "image/gif")
        return CRaster::kTypeGif;
    if (mime == "image/jpeg")
        return CRaster::kTypeJpg;
    return CRaster::kTypeUnknown;
}

// The offered type first; when the bytes are not what it claims, whatever they are. The
// reason kept is the offered type's, which says more than "unknown format".
bool DecodeOffered(const ClipboardPicture& offered, CRaster& picture, std::string& why) {
    const DWORD type = TypeOf(offered.mimeType);
    if (type != CRaster::kTypeUnknown) {
        if (picture.DecodeFromMemory(offered.bytes, type))
            return true;
        why = picture.GetLastError();
        // A stopped paste stops; the other formats would only be asked to stop as well.
        if (picture.WasCancelled())
            return false;
    }
    if (picture.DecodeFromMemory(offered.bytes, CRaster::kTypeUnknown))
        return true;
    if (why.empty())
        why = picture.GetLastError();
    return false;
}

} // namespace

std::string PicturePaste::Decode(const ClipboardPicture& offered, CRaster& working) {
    CRaster picture;
    std::string why;
    const CancellableLoad load(picture);
    if (!DecodeOffered(offered, picture, why)) {
        if (why == "CRASTER_MAX_MEMORY exceeded")
            return "The picture on the Clipboard is too large to paste.";
        return "The picture on the Clipboard could not be read: " + why;
    }
    if (picture.GetBpp() < 24 && !picture.IncreaseBpp(24))
        return std::string("The picture on the Clipboard could not be converted: ") +
               picture.GetLastError();
    working.TakeOver(picture, false);
    return {};
}
