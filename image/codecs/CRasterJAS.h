#pragma once
#include "image/codecs/CRasterCodec.h"

#include <memory>

// The JPEG 2000 family: JP2 (11), JPEG 2000 code streams (12), PGX (13), PNM (14) and Sun
// raster (15). Reading recognises any member by its signature, whichever of the five ids was
// asked for, and reports the id it found; writing uses the id the object was made for.
class CRasterJAS : public CRasterCodec {
public:
    explicit CRasterJAS(DWORD type) : CRasterCodec(type), format_(type) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

    // The member format whose signature starts `head`, or 0.
    static DWORD Recognise(const BYTE* head, std::size_t size);

private:
    static std::unique_ptr<CRasterCodec> MakeMember(DWORD type);

    DWORD format_; // the options shared in for writing carry the picture's own type
};
