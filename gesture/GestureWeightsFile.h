#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <vector>

// The network's weights on disk: nothing but little-endian IEEE single floats in weight
// order, four bytes each.
class GestureWeightsFile {
public:
    static std::vector<std::byte> Encode(std::span<const float> weights);
    // False unless `bytes` holds exactly `count` finite values; `weights` is then untouched.
    static bool Decode(std::span<const std::byte> bytes, std::size_t count,
                       std::vector<float>& weights);

    // False unless every weight is finite and the file was replaced completely.
    static bool Save(const std::string& path, std::span<const float> weights);
    // False for a missing or unreadable file, one of another size or one holding a value that
    // is not a finite number; `weights` changes only after a complete, good read.
    static bool Load(const std::string& path, std::vector<float>& weights);

    // Reads a regular file of exactly `size` bytes and no more.
    static bool ReadExactly(const std::string& path, std::size_t size,
                            std::vector<std::byte>& bytes);
};
