#include "image/core/CRasterFile.h"

bool CRasterFile::PutC(BYTE c) {
    return Write(&c, 1, 1) == 1;
}
