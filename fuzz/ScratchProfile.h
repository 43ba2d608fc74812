#pragma once
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// The profile file of one fuzzer process (in memory when /dev/shm exists), removed at exit.
struct ScratchProfile {
    explicit ScratchProfile(const std::string& name) {
        const std::filesystem::path dir = std::filesystem::exists("/dev/shm")
                                              ? "/dev/shm"
                                              : std::filesystem::temp_directory_path();
        path =
            (dir / ("orlimber-fuzz-" + name + "-" + std::to_string(::getpid()) + ".ini")).string();
    }
    ~ScratchProfile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    ScratchProfile(const ScratchProfile&) = delete;
    ScratchProfile& operator=(const ScratchProfile&) = delete;
    std::string path;
};
