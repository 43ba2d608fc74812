#pragma once
#include <optional>
#include <string>
#include <string_view>

// Finds a picture a tile-set definition names (BMPFILE, MASKFILE) inside the set's folder.
// Backslashes count as slashes; absolute names and ".." are refused. The exact value is
// tried first, then the trimmed one, then a match of each part ignoring case. The result
// never lies outside the folder.
class TileFileName {
public:
    static std::optional<std::string> Resolve(const std::string& folder, std::string_view value);
};
