#pragma once
#include "image/CRasterCodec.h"

// Stands in for a format whose codec is not part of this build: reading and writing fail
// with a text that names the format.
class CRasterUnavailable : public CRasterCodec {
public:
    CRasterUnavailable(DWORD type, const char* name, bool writable);

    bool Decode(CRasterFile& file) override;
    bool Encode(CRasterFile& file) override;

private:
    const char* name_;
    bool writable_;
};
