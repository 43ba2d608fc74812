#include "tiles/TileFileName.h"

#include "tiles/TleNumbers.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The name as a relative path of plain parts, or nothing when it could leave the folder.
std::optional<fs::path> Relative(std::string_view value) {
    std::string name(value);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.empty() || name.front() == '/' || name.find('\0') != std::string::npos)
        return std::nullopt;
    fs::path path;
    for (const fs::path& part : fs::path(name)) {
        const std::string p = part.string();
        if (p == "..")
            return std::nullopt;
        if (p.empty() || p == ".")
            continue;
        path /= part;
    }
    if (path.empty())
        return std::nullopt;
    return path;
}

bool InsideFolder(const fs::path& folder, const fs::path& file) {
    std::error_code error;
    const fs::path base = fs::weakly_canonical(folder, error);
    if (error)
        return false;
    const fs::path real = fs::weakly_canonical(file, error);
    if (error)
        return false;
    auto b = base.begin(), r = real.begin();
    for (; b != base.end(); ++b, ++r) {
        if (b->empty() && std::next(b) == base.end())
            break; // the trailing separator of the folder
        if (r == real.end() || *b != *r)
            return false;
    }
    return fs::is_regular_file(real, error);
}

std::optional<fs::path> MatchIgnoringCase(const fs::path& folder, const fs::path& relative) {
    fs::path at = folder;
    for (const fs::path& part : relative) {
        const std::string wanted = Lower(part.string());
        std::error_code error;
        fs::directory_iterator it(at, error), end;
        std::optional<fs::path> found;
        for (; !error && it != end; it.increment(error)) {
            if (Lower(it->path().filename().string()) == wanted) {
                found = it->path();
                break;
            }
        }
        if (!found)
            return std::nullopt;
        at = *found;
    }
    return at;
}

} // namespace

std::optional<std::string> TileFileName::Resolve(const std::string& folder,
                                                 std::string_view value) {
    const fs::path base = folder.empty() ? fs::path(".") : fs::path(folder);
    const std::string trimmed = TleNumbers::Trim(value);
    for (const std::string& candidate : {std::string(value), trimmed}) {
        const auto relative = Relative(candidate);
        if (relative && InsideFolder(base, base / *relative))
            return (base / *relative).string();
    }
    if (const auto relative = Relative(trimmed)) {
        const auto match = MatchIgnoringCase(base, *relative);
        if (match && InsideFolder(base, *match))
            return match->string();
    }
    return std::nullopt;
}
