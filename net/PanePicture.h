#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class FetchCancel;

// A picture of the information pane as the window draws it: decoded and scaled on a worker,
// so that the window only copies pixels. Bytes from the web host are hostile: a picture whose
// header declares more than the pane can use, or is not in a format of web pages (PNG, GIF,
// JPEG, BMP, ICO), is refused before anything is decoded, and the decode stops as soon as its
// transfer is cancelled.
//
// The prepared form is "ORLPANE1", width and height (32-bit little-endian), then the pixels
// top-down as red, green, blue, alpha.
class PanePicture {
public:
    static constexpr const char* kMimeType = "image/x-orlimber-pane";
    static constexpr std::string_view kMagic = "ORLPANE1";
    static constexpr std::size_t kHeaderBytes = 16;
    // The largest picture the pane decodes: 8 Mpixels (4096 x 2048), at most 32 MB of
    // pixels and alpha while it is read. A pane page has no use for more.
    static constexpr std::uint64_t kMaxSourcePixels = 8ull << 20;
    // The picture budget of one pane decode: such a picture with its reader's working memory.
    static constexpr std::uint64_t kDecodeBytes = 64ull << 20;
    // What the pane draws of one picture: 1 Mpixel (1024 x 1024, 1920 x 546); larger
    // pictures are scaled down to it keeping their proportions.
    static constexpr std::uint64_t kMaxShownPixels = 1ull << 20;

    struct Pixels {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        const BYTE* rgba = nullptr;
    };

    // The prepared form of `bytes`; empty, with `error` saying why, when the picture is
    // refused, does not read, or `cancel` stopped it.
    static std::string Prepare(std::span<const BYTE> bytes, FetchCancel* cancel,
                               std::string& error);
    // Reads a prepared form; false for anything else.
    static bool Read(std::string_view prepared, Pixels& pixels);
    static bool IsPrepared(std::string_view bytes) { return bytes.substr(0, 8) == kMagic; }
};
