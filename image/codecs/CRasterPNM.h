#pragma once
#include "image/codecs/CRasterCodec.h"

class StreamByteReader;

// Netpbm pictures: reads P1 to P6 (maximum values up to 65535, two-byte samples big-endian),
// writes P5 for grey pictures and P6 for 24-bit ones. Bitmaps become 1-bit pictures, grey
// maps 8-bit grey ones.
class CRasterPNM : public CRasterCodec {
public:
    CRasterPNM() : CRasterCodec(kTypePnm) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

    struct Header {
        int kind = 0; // 1..6, the digit after 'P'
        DWORD width = 0;
        DWORD height = 0;
        DWORD maxValue = 1;
        bool Plain() const { return kind <= 3; }
        DWORD Channels() const { return kind == 3 || kind == 6 ? 3 : 1; }
        bool Bitmap() const { return kind == 1 || kind == 4; }
    };

private:
    bool ReadHeader(StreamByteReader& in, Header& h);
    bool ReadRows(StreamByteReader& in, const Header& h);
};
