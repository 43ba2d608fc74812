#pragma once
#include <string>
#include <string_view>

// The lenient number reading of tile-set text: a leading number is taken and the rest
// ignored, a missing one reads as 0, whatever the locale. Values beyond int are clamped.
namespace TleNumbers {
int Int(std::string_view text);
double Real(std::string_view text);
// Leading hexadecimal digits, as RRGGBB.
unsigned Hex(std::string_view text);
std::string Trim(std::string_view text);
} // namespace TleNumbers
