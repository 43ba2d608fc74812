#include "platform/SaveRefusal.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

std::string SaveRefusal::Text(const std::string& path, const std::string& reason) {
    // Appended piece by piece (see AtomicFile's CreateTemp on GCC 12's -Wrestrict at -O3).
    std::string text("Could not save '");
    text.append(path).append("': ").append(reason);
    if (text.back() != '.')
        text += '.';
    return text;
}

std::string SaveRefusal::InFolder(const std::string& folder, int error) {
    const std::string name = "'" + folder + "'";
    switch (error) {
    case ENOENT:
        return "the folder " + name + " does not exist";
    case ENOTDIR:
        return name + " is not a folder";
    case EACCES:
    case EPERM:
        return "you have no rights to write in the folder " + name;
    case EROFS:
        return "the folder " + name + " is on a read-only disk";
    default:
        return System(error);
    }
}

std::string SaveRefusal::NotARegularFile(mode_t mode) {
    if (S_ISDIR(mode))
        return "it is a folder";
    if (S_ISFIFO(mode))
        return "it is a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a regular file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a regular file";
    return "it is not a regular file";
}

std::string SaveRefusal::LinkLoop() {
    return System(ELOOP) + " (they run in a loop and lead to no file)";
}

std::string SaveRefusal::ReadOnly() {
    return "the file is read-only";
}

std::string SaveRefusal::System(int error) {
    return std::strerror(error);
}
