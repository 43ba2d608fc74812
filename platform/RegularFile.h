#pragma once
#include "platform/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Reads a regular file of bounded size, whole or piece by piece, never blocking on a FIFO or a
// device and never throwing: folders, pipes, devices, files over the limit and read errors
// come back as a failure with the system's reason.
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
    std::uint64_t size = 0; // of the file when it was opened

    RegularFile();
    RegularFile(RegularFile&&) noexcept;
    RegularFile& operator=(RegularFile&&) noexcept;
    ~RegularFile();

    bool Ok() const { return status == Status::ok; }

    static RegularFile Read(const std::string& path, std::uint64_t maxBytes);
    // Opens and checks the file as Read does but reads nothing; ReadSome then reads it.
    static RegularFile Open(const std::string& path, std::uint64_t maxBytes);
    // Up to n bytes of an opened file into p: 0 at its end, -1 (with the status and reason
    // set) on a read error or when the file has grown past the limit.
    long long ReadSome(BYTE* p, std::size_t n);

private:
    class Descriptor;
    std::unique_ptr<Descriptor> fd_;
    std::uint64_t limit_ = 0;
    std::uint64_t read_ = 0;
};
