#include "platform/RegularFile.h"

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

class ReadDescriptor {
public:
    explicit ReadDescriptor(const std::string& path)
        // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {}
    ~ReadDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ReadDescriptor(const ReadDescriptor&) = delete;
    ReadDescriptor& operator=(const ReadDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

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

RegularFile RegularFile::Read(const std::string& path, std::uint64_t maxBytes) {
    ReadDescriptor fd(path);
    if (fd.get() < 0)
        return Failed(Status::cannotOpen, OpenFailure(errno));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Failed(Status::readError, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return Failed(Status::notRegular,
                      S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file");
    if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return Failed(Status::tooLarge, "it is larger than " + std::to_string(maxBytes) + " bytes");
    RegularFile f;
    f.bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    // The file may change while it is read: stop at the size seen, and refuse one that grew
    // past the limit.
    while (true) {
        if (got == f.bytes.size()) {
            if (f.bytes.size() > maxBytes)
                return Failed(Status::tooLarge,
                              "it is larger than " + std::to_string(maxBytes) + " bytes");
            const std::uint64_t grown = f.bytes.size() + std::uint64_t{64} * 1024;
            f.bytes.resize(static_cast<std::size_t>(grown < maxBytes ? grown : maxBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), f.bytes.data() + got, f.bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failed(Status::readError, std::strerror(errno));
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    f.bytes.resize(got);
    return f;
}
