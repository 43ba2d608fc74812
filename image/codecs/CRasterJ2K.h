#pragma once
#include "image/codecs/CRasterCodec.h"

#include <cstdint>

struct opj_image;
typedef void* opj_codec_t;

// JPEG 2000 through OpenJPEG: JP2 files (type 11) and bare code streams (type 12). Three
// colour components of one geometry become a 24-bit picture (sYCC turned into RGB, an opacity
// channel into the alpha plane); any other set of components is a series of grey frames, one
// per component, of which the requested one is read. A picture whose decode would not fit the
// budget is read with resolution levels left out, each halving its sides.
class CRasterJ2K : public CRasterCodec {
public:
    explicit CRasterJ2K(DWORD type) : CRasterCodec(type), format_(type) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;

private:
    struct Layout;
    // What besides the components decides OpenJPEG's memory.
    struct Shape {
        std::uint64_t tileWidth = 0;
        std::uint64_t tileHeight = 0;
        bool singleTile = false;      // one tile covering the picture, handed over whole
        unsigned paletteChannels = 0; // a JP2 palette's channels, each a full component
    };
    bool DecodeStream(CRasterFile& file, const DecodeOptions& options);
    bool CheckSizes(const opj_image& image);
    static std::uint64_t PeakBytes(const opj_image& image, const Shape& shape,
                                   std::uint32_t reduce);
    bool FitBudget(opj_codec_t* codec, const opj_image& image, const DecodeOptions& options,
                   unsigned paletteChannels, std::uint32_t& reduce);
    bool Plan(const opj_image& image, Layout& layout);
    bool PlaceColour(const opj_image& image, const Layout& layout);
    bool PlaceFrame(const opj_image& image, const Layout& layout);
    // Fails with OpenJPEG's own text when it gave one.
    bool FailKeeping(const char* fallback);
    bool FillEncoderImage(opj_image& image, int components);

    DWORD format_; // JP2 or code stream, whatever type the shared options carry
};
