#pragma once
#include <cstddef>
#include <span>
#include <string>

// Writes a file so that the old one survives any failure: the bytes go to a temporary file in
// the same folder, which is flushed, synced and renamed over the target; then the folder is
// synced so that the rename itself survives a crash. A symbolic link is written through: the
// file it points to is replaced in its own folder and the link stays. A new file gets the
// permissions the umask allows; a replaced file keeps its mode. Only regular files are
// replaced: a folder, FIFO, device, socket or link loop is refused and left as it was.
class AtomicFile {
public:
    struct Options {
        // A read-only target is refused unless the caller asked the user first.
        bool replaceReadOnly = false;
    };
    struct Outcome {
        bool ok = false;
        bool readOnly = false; // refused because the target is read-only
        int systemError = 0;   // errno of the failing step, 0 when none
        std::string reason;    // why, in SaveRefusal's words ("the folder ... does not exist")
        std::string message;   // SaveRefusal::Text of the path and the reason
    };

    static Outcome Replace(const std::string& path, std::span<const std::byte> bytes,
                           Options options);

    // What Replace would refuse before writing a byte: a target that is no regular file, a
    // loop of links, a folder that does not exist. `ok` when the write may be tried.
    static Outcome Check(const std::string& path);

    // False with `error` set when anything fails; the target is then unchanged.
    static bool Write(const std::string& path, std::span<const std::byte> bytes,
                      std::string& error);
    static bool Write(const std::string& path, const std::string& text, std::string& error);

    // The file a write to `path` replaces: `path` with its symbolic links followed (the link
    // chain may end in a file that does not exist yet).
    static std::string ResolveTarget(const std::string& path);
    // True when the file exists and has no write permission (for anyone, or for this user).
    static bool IsReadOnly(const std::string& path);
};
