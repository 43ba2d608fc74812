#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closing is where some file systems report a full disk, so it is checked.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

} // namespace

bool AtomicFile::Write(const std::string& path, std::span<const std::byte> bytes,
                       std::string& error) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // Appended piece by piece: GCC 12 at -O3 reports a false overlap (-Wrestrict) for a
    // literal added in front of a string.
    std::string hidden(1, '.');
    hidden.append(target.filename().string()).append(".XXXXXX");
    std::string temp = (folder / hidden).string();
    FileDescriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0) {
        error = "Could not create a file in " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const char* what) {
        error = std::string(what) + " " + path + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    };
    const auto* p = reinterpret_cast<const char*>(bytes.data());
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd.get(), p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail("Could not write");
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    // Keep the target's permissions when it exists; mkstemp makes the file private.
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd.get(), mode);
    if (::fsync(fd.get()) != 0)
        return fail("Could not flush");
    if (!fd.Close())
        return fail("Could not close");
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return fail("Could not replace");
    return true;
}

bool AtomicFile::Write(const std::string& path, const std::string& text, std::string& error) {
    return Write(path, std::as_bytes(std::span(text.data(), text.size())), error);
}
