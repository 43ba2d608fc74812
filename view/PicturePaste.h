#pragma once
#include "platform/IClipboard.h"

#include <string>

class CRaster;

// A picture from the clipboard made ready for the picture tool: decoded by the image
// library's own codecs (whatever the offered type claims), raised to 24 bits, alpha kept.
class PicturePaste {
public:
    // Replaces `working` by the decoded picture; on failure `working` is left as it was and
    // the text says why, for the user.
    static std::string Decode(const ClipboardPicture& offered, CRaster& working);
};
