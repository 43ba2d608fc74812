#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// Reads a whole regular file of bounded size, never blocking on a FIFO or a device and never
// throwing: folders, pipes, devices, files over the limit and read errors come back as a
// failure with the system's reason.
struct RegularFile {
    enum class Status {
        ok,
        cannotOpen, // "it does not exist", "permission denied" or the system's own words
        notRegular, // a folder, FIFO, device or socket
        tooLarge,   // more than the limit; nothing was read
        readError,  // the system's reason
    };
    Status status = Status::ok;
    std::string reason;
    std::vector<BYTE> bytes;

    bool Ok() const { return status == Status::ok; }

    static RegularFile Read(const std::string& path, std::uint64_t maxBytes);
};
