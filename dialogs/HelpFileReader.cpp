#include "dialogs/HelpFileReader.h"

#include <filesystem>
#include <fstream>
#include <system_error>

HelpFileContents HelpFileReader::Read(const std::string& helpFolder) {
    const std::filesystem::path path = std::filesystem::path(helpFolder) / kFileName;
    std::error_code ec;
    const std::uintmax_t length = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in)
        return {{}, "The help file " + path.string() + " could not be opened."};
    if (length > kMaxBytes)
        return {{}, "The help file " + path.string() + " is too large."};
    HelpFileContents out;
    out.bytes.resize(std::size_t(length));
    in.read(out.bytes.data(), std::streamsize(length));
    if (std::uint64_t(in.gcount()) != length) {
        out.bytes.resize(std::size_t(in.gcount()));
        out.error = "Read didn't match length";
    }
    return out;
}
