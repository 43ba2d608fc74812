#pragma once
// One limit for what reading a picture may hold at its peak (the picture, a library's own
// working memory, bands and composition buffers), so that a hostile file cannot take the
// machine, and one wording for its refusals. Readers estimate the peak from the header and
// compare it with the budget before they allocate anything.
#include "image/core/StopSignal.h"

#include <cstdint>
#include <string>

struct PictureBudget {
    // 160 MB for one picture keeps the whole process near 200 MB while it reads one.
    static constexpr std::uint64_t kPictureBytes = 160ull * 1000 * 1000;
    // All the pictures of one document together.
    static constexpr std::uint64_t kDocumentBytes = 400ull * 1000 * 1000;
};

// What a decode is handed besides its bytes: how much it may hold and who may stop it.
struct DecodeOptions {
    std::uint64_t budget = PictureBudget::kPictureBytes;
    // Polled by long loops besides the escape flag, so that someone outside a decode (the
    // user pressing Escape) can stop it; not owned, null when nobody watches.
    StopSignal* stop = nullptr;

    bool Allows(std::uint64_t estimate) const { return estimate <= budget; }
};

// "GIF picture of 65535 x 65535 pixels needs 4295 MB to read; the limit is 160 MB".
std::string PictureTooLargeMessage(const char* format, std::uint64_t width, std::uint64_t height,
                                   std::uint64_t estimate, std::uint64_t budget);

// Out of memory anywhere in a decode ends in this, never in an abort.
inline constexpr const char* kPictureOutOfMemory = "not enough memory to read this picture";
