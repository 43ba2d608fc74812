#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

RegularFile Failed(RegularFile::Status status, std::string reason) {
    RegularFile f;
    f.status = status;
    f.reason = std::move(reason);
    return f;
}

std::string TooLarge(std::uint64_t maxBytes) {
    return "it is larger than " + std::to_string(maxBytes) + " bytes";
}

} // namespace

class RegularFile::Descriptor {
public:
    explicit Descriptor(const std::string& path)
        // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

namespace {

// The system's reason in the words the program's messages use around it.
std::string OpenFailure(int error) {
    switch (error) {
    case ENOENT:
        return "it does not exist";
    case EACCES:
    case EPERM:
        return "permission denied";
    default:
        return std::strerror(error);
    }
}

} // namespace

RegularFile::RegularFile() = default;
RegularFile::RegularFile(RegularFile&&) noexcept = default;
RegularFile& RegularFile::operator=(RegularFile&&) noexcept = default;
RegularFile::~RegularFile() = default;

RegularFile RegularFile::Open(const std::string& path, std::uint64_t maxBytes) {
    auto fd = std::make_unique<Descriptor>(path);
    if (fd->get() < 0)
        return Failed(Status::cannotOpen, OpenFailure(errno));
    struct stat st {};
    if (::fstat(fd->get(), &st) != 0)
        return Failed(Status::readError, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return Failed(Status::notRegular,
                      S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file");
    if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return Failed(Status::tooLarge, TooLarge(maxBytes));
    RegularFile f;
    f.fd_ = std::move(fd);
    f.size = static_cast<std::uint64_t>(st.st_size);
    f.limit_ = maxBytes;
    return f;
}

long long RegularFile::ReadSome(BYTE* p, std::size_t n) {
    if (!Ok() || !fd_)
        return -1;
    // The file may change while it is read: one that grew past the limit is refused.
    const std::uint64_t room = limit_ + 1 - read_;
    while (true) {
        const ssize_t got =
            ::read(fd_->get(), p, static_cast<std::size_t>(std::min<std::uint64_t>(n, room)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            status = Status::readError;
            reason = std::strerror(errno);
            return -1;
        }
        read_ += static_cast<std::uint64_t>(got);
        if (read_ > limit_) {
            status = Status::tooLarge;
            reason = TooLarge(limit_);
            return -1;
        }
        return got;
    }
}

RegularFile RegularFile::Read(const std::string& path, std::uint64_t maxBytes) {
    RegularFile f = Open(path, maxBytes);
    if (!f.Ok())
        return f;
    f.bytes.resize(static_cast<std::size_t>(f.size));
    std::size_t got = 0;
    // Read to the end, not just to the size seen: the file may have grown since.
    while (true) {
        if (got == f.bytes.size()) {
            const std::uint64_t grown = f.bytes.size() + std::uint64_t{64} * 1024;
            f.bytes.resize(static_cast<std::size_t>(std::min(grown, maxBytes + 1)));
        }
        const long long n = f.ReadSome(f.bytes.data() + got, f.bytes.size() - got);
        if (n < 0)
            return Failed(f.status, f.reason);
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    f.bytes.resize(got);
    f.fd_.reset();
    return f;
}
