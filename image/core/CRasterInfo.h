#pragma once
// The options and status of an image that travel with it: copied whole by Copy, CopyInfoFrom,
// TakeOver and ShareFrom, and handed to a format class before it decodes (escape flag,
// requested frame, codec options) or encodes. Storage bookkeeping (stride, row pointer,
// sharing, frame list) deliberately lives in CRaster itself and never travels with a copy.
#include "image/core/PictureBudget.h"
#include "image/core/RgbQuad.h"
#include "platform/WinTypes.h"

#include <array>
#include <string>
#include <vector>

struct CRasterInfo {
    static constexpr int kNumTypes = 16;
    static constexpr std::size_t kMaxErrorLength = 255;

    DWORD type = 0;        // format type id 0..15 it came from or will be written as
    std::string lastError; // at most kMaxErrorLength characters
    LONG progress = 0;     // percent, written by long loops
    LONG escape = 0;       // nonzero stops long loops; -1 before a decode asks for the header
    // Budget and stop signal handed to every decode.
    DecodeOptions decode;
    LONG transparentIndex = -1;
    RGBQUAD transparentColor; // fourth byte kept zero
    float jpegQuality = 90.0f;
    BYTE jpegScale = 0;
    // Multi-frame codecs (GIF, ICO, TIFF, JPEG 2000 components).
    LONG frame = 0;     // frame or page asked for
    LONG numFrames = 0; // frames the file holds
    LONG retrieveAllFrames = 0;
    DWORD frameDelay = 0; // GIF delay, hundredths of a second
    BYTE disposal = 0;    // GIF disposal method
    LONG xDpi = 96;
    LONG yDpi = 96;
    RECT selectionBox; // storage rows: left <= x < right, bottom <= y < top
    BYTE alphaMax = 255;
    bool paletteAlpha = false;
    bool enabled = true; // drawing does nothing while false
    LONG xOffset = 0;    // placement of a frame
    LONG yOffset = 0;
    std::array<DWORD, kNumTypes> codecOptions{};
    DWORD flags = 0;
    BYTE gifByte1 = 0;
    BYTE gifByte2 = 0;
    // GIF comment (at most 255 characters) and loop count as the GIF writer takes it (0 loops
    // forever, 1 writes no loop block, n repeats n - 1 times), so a load and save keeps both.
    std::string gifComment;
    LONG gifLoops = 0;
    bool littleEndianHost = true;
    // The camera block (APP1 "Exif" payload) and comment of a decoded JPEG, so that saving
    // the picture as JPEG again keeps them. Empty when the picture had none.
    std::vector<BYTE> jpegExif;
    std::vector<BYTE> jpegComment;
};
