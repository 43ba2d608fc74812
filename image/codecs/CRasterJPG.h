#pragma once
#include "image/codecs/CRasterCodec.h"
#include "image/codecs/CRasterExifInfo.h"

#include <cstdint>
#include <memory>

class CRasterExifReader;

// JPEG through the installed libjpeg (interface 62). Decoding gives 8-bit grey, 8-bit
// quantised or 24-bit pictures (CMYK is converted), at a reduced scale when the full one
// would not fit the picture budget; the camera's EXIF block and the comment
// travel with the picture's options and are written again when it is saved as JPEG.
// Writing takes 24-bit pictures and grey palette pictures.
class CRasterJPG : public CRasterCodec {
public:
    // Codec option bits (GetCodecOption(kTypeJpg)).
    enum Option : DWORD {
        kBaseline = 0x1,          // encode: force baseline quantisation tables
        kArithmetic = 0x2,        // encode: arithmetic coding
        kEncodeGrey = 0x4,        // encode: greyscale colour space
        kOptimize = 0x8,          // encode: optimised Huffman tables
        kProgressive = 0x10,      // encode: progressive
        kSmoothing = 0x40,        // encode: smoothing factor from SetSmoothing
        kDecodeGrey = 0x80,       // decode: greyscale output
        kQuantize = 0x100,        // decode: a palette of (JPEG quality) colours
        kDither = 0x200,          // decode: dither mode from SetDither
        kOnePass = 0x400,         // decode: one-pass quantisation
        kNoFancyUpsample = 0x800, // decode: plain upsampling
        kSampling2x1 = 0x1000,    // encode: luminance sampled 2x1
        kSampling1x1 = 0x2000,    // encode: no chroma subsampling
    };
    // A file with more scans than this is refused: every scan revisits the whole picture, and
    // the scan scripts of real encoders stay within a few dozen.
    static constexpr int kMaxScans = 100;

    CRasterJPG();
    ~CRasterJPG() override;

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

    const CRasterExifInfo& GetExifInfo() const { return exif_; }
    void SetSmoothing(int factor) { smoothing_ = factor; }
    // 0 none, 1 ordered, 2 error diffusion.
    void SetDither(int mode) { dither_ = mode; }

private:
    struct DecodeState;
    struct EncodeState;
    void ReadExif(CRasterFile& file);
    bool ReadPicture(DecodeState& s);
    bool ReadSteps(DecodeState& s);
    static std::uint64_t PeakBytes(const DecodeState& s);
    bool FitBudget(DecodeState& s);
    void ApplyDecodeOptions(DecodeState& s);
    void ReadResolution(const DecodeState& s);
    void ReadPalette(const DecodeState& s);
    bool ReadRows(DecodeState& s);
    bool IsGreyPalette() const;
    bool WritePicture(EncodeState& s);
    bool WriteSteps(EncodeState& s);
    void ApplyEncodeOptions(EncodeState& s);
    void WriteKeptSections(EncodeState& s);
    void WriteRows(EncodeState& s);

    std::unique_ptr<CRasterExifReader> exifReader_;
    CRasterExifInfo exif_;
    int smoothing_ = 0;
    int dither_ = 0;
};
