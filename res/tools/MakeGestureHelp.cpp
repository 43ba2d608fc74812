// Writes the gesture help document installed with the program.
#include "view/GestureHelpDocument.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s file.pdf\n", argv[0]);
        return 2;
    }
    if (!GestureHelpDocument::WritePdf(argv[1])) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
