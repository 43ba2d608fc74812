#include "platform/AtomicFile.h"

#include "platform/SaveRefusal.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

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

// Symbolic links deeper than this are a loop, as the kernel counts them.
constexpr int kMaxLinks = 40;

// A name of our own next to the target. Created with O_EXCL and mode 0666, so the kernel
// applies the user's umask exactly as for any new file.
FileDescriptor CreateTemp(const fs::path& folder, const std::string& base, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto tick = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        const std::string suffix = std::to_string(::getpid()) + "-" +
                                   std::to_string(counter.fetch_add(1)) + "-" +
                                   std::to_string(tick % 1000000);
        // Appended piece by piece: GCC 12 at -O3 reports a false overlap (-Wrestrict) for a
        // literal added in front of a string.
        std::string hidden(1, '.');
        hidden.append(base).append(1, '.').append(suffix);
        temp = (folder / hidden).string();
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return FileDescriptor(fd);
    }
    return FileDescriptor(-1);
}

bool WriteAll(int fd, std::span<const std::byte> bytes) {
    const auto* p = reinterpret_cast<const char*>(bytes.data());
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename durable. File systems that cannot sync a folder say so with EINVAL.
bool SyncFolder(const fs::path& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return false;
    return ::fsync(dir.get()) == 0 || errno == EINVAL || errno == EROFS;
}

AtomicFile::Outcome Failure(const std::string& path, int error, std::string reason) {
    AtomicFile::Outcome out;
    out.systemError = error;
    out.reason = std::move(reason);
    out.message = SaveRefusal::Text(path, out.reason);
    return out;
}

AtomicFile::Outcome Failure(const std::string& path, int error) {
    return Failure(path, error, SaveRefusal::System(error));
}

// Renaming over a FIFO or a device would put a plain file in its place (as root, over
// /dev/null); a loop of links has no file at its end. A target that does not exist yet is
// fine.
std::optional<AtomicFile::Outcome> RefuseUnusual(const fs::path& target, const std::string& path) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        if (errno == ELOOP)
            return Failure(path, ELOOP, SaveRefusal::LinkLoop());
        return std::nullopt;
    }
    if (S_ISREG(st.st_mode))
        return std::nullopt;
    const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return Failure(path, error, SaveRefusal::NotARegularFile(st.st_mode));
}

} // namespace

std::string AtomicFile::ResolveTarget(const std::string& path) {
    fs::path p(path);
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)))
            return p.string();
        const fs::path link = fs::read_symlink(p, ec);
        if (ec)
            return p.string();
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return p.string();
}

bool AtomicFile::IsReadOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // The mode bits count even for a user whom access() lets write anyway (root).
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

AtomicFile::Outcome AtomicFile::Replace(const std::string& path, std::span<const std::byte> bytes,
                                        Options options) {
    if (Outcome checked = Check(path); !checked.ok)
        return checked;
    const fs::path target(ResolveTarget(path));
    if (!options.replaceReadOnly && IsReadOnly(target.string())) {
        Outcome out = Failure(path, EACCES, SaveRefusal::ReadOnly());
        out.readOnly = true;
        return out;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp;
    FileDescriptor fd = CreateTemp(folder, target.filename().string(), temp);
    if (fd.get() < 0) {
        const int error = errno;
        return Failure(path, error, SaveRefusal::InFolder(folder.string(), error));
    }
    auto fail = [&] {
        const int error = errno;
        ::unlink(temp.c_str());
        return Failure(path, error);
    };
    if (!WriteAll(fd.get(), bytes))
        return fail();
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && ::fchmod(fd.get(), st.st_mode & 07777) != 0)
        return fail();
    if (::fsync(fd.get()) != 0)
        return fail();
    if (!fd.Close())
        return fail();
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail();
    if (!SyncFolder(folder))
        return Failure(path, errno);
    Outcome out;
    out.ok = true;
    return out;
}

AtomicFile::Outcome AtomicFile::Check(const std::string& path) {
    const fs::path target(ResolveTarget(path));
    if (auto refused = RefuseUnusual(target, path))
        return std::move(*refused);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        const int error = errno;
        return Failure(path, error, SaveRefusal::InFolder(folder.string(), error));
    }
    if (!S_ISDIR(st.st_mode))
        return Failure(path, ENOTDIR, SaveRefusal::InFolder(folder.string(), ENOTDIR));
    Outcome out;
    out.ok = true;
    return out;
}

bool AtomicFile::Write(const std::string& path, std::span<const std::byte> bytes,
                       std::string& error) {
    Outcome out = Replace(path, bytes, Options{});
    if (!out.ok)
        error = std::move(out.message);
    return out.ok;
}

bool AtomicFile::Write(const std::string& path, const std::string& text, std::string& error) {
    return Write(path, std::as_bytes(std::span(text.data(), text.size())), error);
}
