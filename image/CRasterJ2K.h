#pragma once
#include "image/CRasterCodec.h"

#include <cstdint>

struct opj_image;

// JPEG 2000 through OpenJPEG: JP2 files (type 11) and bare code streams (type 12). Three
// colour components of one geometry become a 24-bit picture (sYCC turned into RGB, an opacity
// channel into the alpha plane); any other set of components is a series of grey frames, one
// per component, of which the requested one is read.
class CRasterJ2K : public CRasterCodec {
public:
    explicit CRasterJ2K(DWORD type) : CRasterCodec(type), format_(type) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

    // Samples of all components together, beyond which a file is refused before decoding.
    static constexpr std::uint64_t kMaxSamples = std::uint64_t{1} << 28;
    // Samples one byte of the file may stand for. A code stream can say "nothing here" for a
    // whole tile in a few bytes, so there is no least cost per sample; this leaves room for
    // flat pictures far beyond what real files pack, and refuses headers with no data.
    static constexpr std::uint64_t kSamplesPerByte = 16384;

private:
    struct Layout;
    bool CheckSizes(const opj_image& image, std::uint64_t bytes);
    bool Plan(const opj_image& image, Layout& layout);
    bool PlaceColour(const opj_image& image, const Layout& layout);
    bool PlaceFrame(const opj_image& image, const Layout& layout);
    // Fails with OpenJPEG's own text when it gave one.
    bool FailKeeping(const char* fallback);
    bool FillEncoderImage(opj_image& image, int components);

    DWORD format_; // JP2 or code stream, whatever type the shared options carry
};
