#pragma once
// A whole file's bytes as a string; empty when it cannot be read.
#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
