#pragma once
#include "image/codecs/CRasterCodec.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// GIF87a/GIF89a pictures: single frames, animations composed by their disposal methods, and
// true-colour pictures written as a mosaic of small palette tiles. The codec option selects
// the compressor (1 plain, 2 run-length, otherwise LZW).
class CRasterGIF : public CRasterCodec {
public:
    CRasterGIF() : CRasterCodec(kTypeGif) {}

    bool Decode(CRasterFile& file, const DecodeOptions& options) override;
    bool Encode(CRasterFile& file) override;
    bool EncodeAnimated(CRasterFile& file, std::span<CRaster* const> frames, bool localColorTables,
                        bool localDisposal);
    bool EncodeTrueColor(CRasterFile& file);

    // Kept in Info(), so that they travel with the picture through the dispatch.
    void SetLoops(int loops) { Info().gifLoops = loops; }
    int GetLoops() const { return Info().gifLoops; }
    void SetComment(const std::string& comment) { Info().gifComment = comment.substr(0, 255); }
    const std::string& GetComment() const { return Info().gifComment; }

private:
    struct Control {
        BYTE flags = 0;
        WORD delay = 0;
        BYTE transparentIndex = 0;
        bool seen = false;
    };
    struct Frame {
        int left = 0, top = 0, width = 0, height = 0;
        bool interlaced = false;
        std::vector<RGBQUAD> palette; // the local table, else the global one
        int bpp = 8;
        std::size_t dataStart = 0; // offset of the minimum code size byte
    };
    class Walker;

    bool DecodeBytes(std::span<const BYTE> data, const DecodeOptions& options);
    // Frames that show on the screen; also tells whether any frame restores the previous
    // picture (the only case that needs a copy of it kept), the largest palette depth of
    // those frames, and where the blocks end (at the trailer).
    int CountFrames(std::span<const BYTE> data, std::size_t start, int& screenW, int& screenH,
                    bool& restoresPrevious, int& deepest, std::size_t& end);
    bool ReadExtension(std::span<const BYTE> data, std::size_t& pos, Control& control);
    bool ReadDescriptor(std::span<const BYTE> data, std::size_t& pos,
                        const std::vector<RGBQUAD>& global, Frame& frame);
    // The picture built so far and what the next frame needs of the previous ones.
    struct Composition;
    bool Charge(Composition& c, std::uint64_t pixels);
    std::uint64_t Estimate(const Composition& c, int firstBpp) const;
    bool StartBackground(Composition& c, const Frame& frame, LONG transparent, bool first,
                         const DecodeOptions& options);
    bool KeepPrevious(Composition& c);
    void MarkCovered(Composition& c, const Frame& frame);
    bool StartCoverage(Composition& c, const Frame& frame, const std::vector<int>& order,
                       bool complete, std::size_t rows, std::size_t pixels);
    // Decodes a frame onto the screen (a mosaic tile, or a frame composed over the ones
    // before); `end` receives the offset past its data.
    bool DecodeFrame(Composition& c, const Frame& frame, std::span<const BYTE> data,
                     LONG transparent, const std::array<RGBQUAD, 256>& palette, std::size_t& end);
    // The composed picture as a caller sees it: pixels no frame supplied made transparent.
    std::unique_ptr<CRaster> Finished(Composition& c, bool copy);
    // Takes the decoded picture and the kept frames over, with the caller's options.
    bool Adopt(std::unique_ptr<CRaster> result, std::vector<std::unique_ptr<CRaster>>& frames);

    bool WriteHeader(CRasterFile& file, const CRaster& image);
    bool WriteControl(CRasterFile& file, const CRaster& image, BYTE disposal);
    bool WriteComment(CRasterFile& file);
    bool WriteLoop(CRasterFile& file, int repeat);
    bool WriteBody(CRasterFile& file, const CRaster& image, bool localTable);
    bool WriteFailed();
};
