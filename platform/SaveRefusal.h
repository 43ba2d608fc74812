#pragma once
#include <string>
#include <sys/types.h>

// The words for a save that did not happen, shared by every save path (documents, pictures,
// metafiles, settings), so that one refusal reads the same whichever command met it and
// always names its reason.
class SaveRefusal {
public:
    // "Could not save 'PATH': REASON."
    static std::string Text(const std::string& path, const std::string& reason);

    // Why nothing could be written in `folder` (a missing folder, one without write rights, a
    // read-only disk), from the system's error number.
    static std::string InFolder(const std::string& folder, int error);
    // Why the file there is not one a save may replace: a folder, FIFO, device or socket.
    static std::string NotARegularFile(mode_t mode);
    static std::string LinkLoop();
    static std::string ReadOnly();
    // Any other step's failure: the system's own reason (a full disk, an I/O error).
    static std::string System(int error);
};
