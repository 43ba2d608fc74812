#include "ExternalTools.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace ExternalTools {

bool Have(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Substitute(std::string text, const std::string& key, const std::string& value) {
    for (std::size_t p; (p = text.find(key)) != std::string::npos;)
        text.replace(p, key.size(), value);
    return text;
}

std::optional<std::vector<BYTE>> Run(const std::string& command) {
    struct Closer {
        void operator()(std::FILE* f) const { pclose(f); }
    };
    std::FILE* raw = popen(("( " + command + " ) 2>/dev/null").c_str(), "r");
    if (raw == nullptr)
        return std::nullopt;
    std::vector<BYTE> out;
    BYTE buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, raw)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    const int status = pclose(raw);
    if (status != 0)
        return std::nullopt;
    return out;
}

void WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<BYTE> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

// Reads the next header number, skipping white space and comments.
bool HeaderNumber(const std::vector<BYTE>& b, std::size_t& pos, DWORD& value) {
    while (pos < b.size() && (std::isspace(b[pos]) || b[pos] == '#')) {
        if (b[pos] == '#')
            while (pos < b.size() && b[pos] != '\n')
                ++pos;
        else
            ++pos;
    }
    if (pos >= b.size() || !std::isdigit(b[pos]))
        return false;
    value = 0;
    while (pos < b.size() && std::isdigit(b[pos]))
        value = value * 10 + (b[pos++] - '0');
    return true;
}

} // namespace

std::optional<Pnm> ParsePnm(const std::vector<BYTE>& b) {
    if (b.size() < 3 || b[0] != 'P' || (b[1] != '5' && b[1] != '6'))
        return std::nullopt;
    const bool colour = b[1] == '6';
    std::size_t pos = 2;
    Pnm p;
    DWORD maxval = 0;
    if (!HeaderNumber(b, pos, p.width) || !HeaderNumber(b, pos, p.height) ||
        !HeaderNumber(b, pos, maxval) || maxval != 255)
        return std::nullopt;
    ++pos; // the single white space after the header
    const std::size_t count = std::size_t{p.width} * p.height;
    if (b.size() < pos + count * (colour ? 3 : 1))
        return std::nullopt;
    p.rgb.resize(count * 3);
    for (std::size_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c)
            p.rgb[i * 3 + c] = b[pos + (colour ? i * 3 + c : i)];
    return p;
}

std::vector<BYTE> MakePpm(const Pnm& picture) {
    const std::string head =
        "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
    std::vector<BYTE> out(head.begin(), head.end());
    out.insert(out.end(), picture.rgb.begin(), picture.rgb.end());
    return out;
}

} // namespace ExternalTools
