#pragma once
#include <cstddef>
#include <span>
#include <string>

// Writes a file so that the old one survives any failure: the bytes go to a temporary file in
// the same folder, which is flushed, synced and renamed over the target.
class AtomicFile {
public:
    // False with `error` set when anything fails; the target is then unchanged.
    static bool Write(const std::string& path, std::span<const std::byte> bytes,
                      std::string& error);
    static bool Write(const std::string& path, const std::string& text, std::string& error);
};
