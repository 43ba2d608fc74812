#pragma once
#include "image/codecs/CRasterCodec.h"

#include <vector>

// PNG through the installed libpng. Reading maps every colour type and depth onto the
// picture's 1, 4, 8 and 24 bits (16-bit channels keep their high byte, 2-bit pixels widen to
// 4 bits, alpha goes to the alpha plane); writing picks grey, palette or RGB from the
// picture and adds alpha when it has an alpha plane.
class CRasterPNG : public CRasterCodec {
public:
    CRasterPNG() : CRasterCodec(kTypePng) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

    // How the pixels of one decoded row are laid out (after libpng's transformations).
    enum class RowKind { Direct, TwoBit, GreyAlpha, ColourAlpha };
    // How a row is written.
    enum class OutKind { Indices, Grey, Bgr, GreyAlpha, Rgba };

private:
    struct ReadState;
    struct WriteState;
    bool ReadPicture(ReadState& s, CRasterFile& file);
    bool SetUpPicture(ReadState& s);
    // What the decode holds at its peak: the picture, our row and libpng's rows and window.
    static std::uint64_t Estimate(const ReadState& s, DWORD bpp, bool alpha);
    bool ReadInterlaced(ReadState& s);
    void ReadResolution(const ReadState& s);
    void ReadPalette(const ReadState& s, int bitDepth);
    void ReadTransparency(const ReadState& s, int colorType, int bitDepth);
    void PlaceRow(const ReadState& s, const BYTE* row, DWORD top);
    // Pixels of one row of an interlace pass: pixel i goes to x = first + i * step.
    void PlacePassRow(const ReadState& s, const BYTE* in, DWORD top, DWORD first, DWORD step,
                      DWORD count);
    bool WritePicture(WriteState& s, CRasterFile& file);
    void PrepareWrite(WriteState& s);
    void SetChunks(WriteState& s);
    void BuildRow(const WriteState& s, DWORD storageRow, BYTE* out) const;
};
