// Writes the feedback sounds installed with the program: "<folder>/<name>.wav".
#include "res/FeedbackTones.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    for (const char* name : FeedbackTones::Names()) {
        const auto bytes = FeedbackTones::WaveFile(name);
        const std::string path = std::string(argv[1]) + "/" + name + ".wav";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
