#pragma once
#include "platform/WinTypes.h"

#include <optional>
#include <string>
#include <vector>

// Runs the independent picture tools (ImageMagick, netpbm) that the cross-checks compare
// against, and reads the PNM pictures they print.
namespace ExternalTools {

// ImageMagick 6 by its versioned name, so that no other "convert" on the PATH answers.
inline const std::string kConvert = "convert-im6.q16";

bool Have(const std::string& tool);
// `text` with every `key` replaced by `value`.
std::string Substitute(std::string text, const std::string& key, const std::string& value);
// Runs a shell command; its standard output, or nothing when it failed.
std::optional<std::vector<BYTE>> Run(const std::string& command);
void WriteFile(const std::string& path, const std::vector<BYTE>& bytes);
std::vector<BYTE> ReadFile(const std::string& path);

// A PNM picture (P5 grey or P6 colour, maxval 255) as rows from the top, 3 bytes a pixel.
struct Pnm {
    DWORD width = 0;
    DWORD height = 0;
    std::vector<BYTE> rgb;
    BYTE Red(DWORD x, DWORD top) const { return rgb[(top * width + x) * 3]; }
    BYTE Green(DWORD x, DWORD top) const { return rgb[(top * width + x) * 3 + 1]; }
    BYTE Blue(DWORD x, DWORD top) const { return rgb[(top * width + x) * 3 + 2]; }
};
std::optional<Pnm> ParsePnm(const std::vector<BYTE>& bytes);
std::vector<BYTE> MakePpm(const Pnm& picture);

} // namespace ExternalTools
