#include "image/core/PictureBudget.h"

#include <cstdio>

namespace {
std::uint64_t RoundUpMegabytes(std::uint64_t bytes) {
    constexpr std::uint64_t kMega = 1000ull * 1000;
    return bytes / kMega + (bytes % kMega != 0 ? 1 : 0);
}
} // namespace

std::string PictureTooLargeMessage(const char* format, std::uint64_t width, std::uint64_t height,
                                   std::uint64_t estimate, std::uint64_t budget) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "%s picture of %llu x %llu pixels needs %llu MB to read; the limit is %llu MB",
                  format, static_cast<unsigned long long>(width),
                  static_cast<unsigned long long>(height),
                  static_cast<unsigned long long>(RoundUpMegabytes(estimate)),
                  static_cast<unsigned long long>(RoundUpMegabytes(budget)));
    return text;
}
