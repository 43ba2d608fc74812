#pragma once
// Runs the independent command-line tools the tests compare against and reads what they
// print, PPM pictures included.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ToolPipe {

inline bool Have(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// The command's standard output; nothing when it could not run or failed.
inline std::optional<std::string> Run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return std::nullopt;
    std::string out;
    std::array<char, 65536> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    if (pclose(pipe.release()) != 0)
        return std::nullopt;
    return out;
}

// A binary PPM (maxval 255), rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    const std::uint8_t* At(int x, int y) const {
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    }
    bool Dark(int x, int y) const {
        const std::uint8_t* p = At(x, y);
        return p[0] + p[1] + p[2] < 450;
    }
};

inline std::optional<Picture> ParsePpm(const std::string& bytes) {
    Picture p;
    int max = 0, used = 0;
    if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &p.width, &p.height, &max, &used) != 3 ||
        max != 255 || p.width <= 0 || p.height <= 0)
        return std::nullopt;
    const std::size_t start = static_cast<std::size_t>(used) + 1;
    const std::size_t size = static_cast<std::size_t>(p.width) * p.height * 3;
    if (bytes.size() < start + size)
        return std::nullopt;
    p.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                 bytes.begin() + static_cast<std::ptrdiff_t>(start + size));
    return p;
}

// Pixels dark in `a` with no dark pixel of `b` within `reach` pixels, inside `box`
// (left, top, right, bottom; right and bottom excluded).
inline long DarkWithoutPartner(const Picture& a, const Picture& b, int reach,
                               std::array<int, 4> box) {
    long lonely = 0;
    for (int y = box[1]; y < box[3]; ++y) {
        for (int x = box[0]; x < box[2]; ++x) {
            if (!a.Dark(x, y))
                continue;
            bool partner = false;
            for (int v = std::max(0, y - reach); v <= std::min(b.height - 1, y + reach) && !partner;
                 ++v)
                for (int u = std::max(0, x - reach); u <= std::min(b.width - 1, x + reach); ++u)
                    if (b.Dark(u, v)) {
                        partner = true;
                        break;
                    }
            lonely += partner ? 0 : 1;
        }
    }
    return lonely;
}

} // namespace ToolPipe
