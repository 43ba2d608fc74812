#include "gesture/GestureWeightsFile.h"

#include "platform/AtomicFile.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads until `out` is full or the file ends; the count read.
std::size_t ReadUpTo(int fd, std::span<std::byte> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

} // namespace

std::vector<std::byte> GestureWeightsFile::Encode(std::span<const float> weights) {
    std::vector<std::byte> bytes(weights.size() * 4);
    for (std::size_t i = 0; i < weights.size(); ++i) {
        const auto bits = std::bit_cast<std::uint32_t>(weights[i]);
        for (std::size_t b = 0; b < 4; ++b)
            bytes[4 * i + b] = static_cast<std::byte>((bits >> (8 * b)) & 0xFF);
    }
    return bytes;
}

bool GestureWeightsFile::Decode(std::span<const std::byte> bytes, std::size_t count,
                                std::vector<float>& weights) {
    if (count > bytes.size() / 4 || bytes.size() != count * 4)
        return false;
    std::vector<float> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        for (std::size_t b = 0; b < 4; ++b)
            bits |= static_cast<std::uint32_t>(bytes[4 * i + b]) << (8 * b);
        values[i] = std::bit_cast<float>(bits);
        if (!std::isfinite(values[i]))
            return false;
    }
    weights = std::move(values);
    return true;
}

bool GestureWeightsFile::Save(const std::string& path, std::span<const float> weights) {
    if (!std::all_of(weights.begin(), weights.end(), [](float w) { return std::isfinite(w); }))
        return false;
    std::string error;
    return AtomicFile::Write(path, Encode(weights), error);
}

bool GestureWeightsFile::Load(const std::string& path, std::vector<float>& weights) {
    std::vector<std::byte> bytes;
    return ReadExactly(path, weights.size() * 4, bytes) && Decode(bytes, weights.size(), weights);
}

bool GestureWeightsFile::ReadExactly(const std::string& path, std::size_t size,
                                     std::vector<std::byte>& bytes) {
    const ReadOnlyFile file(path);
    if (file.get() < 0)
        return false;
    struct stat st {};
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) != static_cast<std::uint64_t>(size))
        return false;
    // One byte more than wanted tells a file that grew since it was measured.
    std::vector<std::byte> buffer(size + 1);
    if (ReadUpTo(file.get(), buffer) != size)
        return false;
    buffer.pop_back();
    bytes = std::move(buffer);
    return true;
}
