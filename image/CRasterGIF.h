#pragma once
#include "image/CRasterCodec.h"

#include <array>
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

    bool Decode(CRasterFile& file) override;
    bool Encode(CRasterFile& file) override;
    bool EncodeAnimated(CRasterFile& file, std::span<CRaster* const> frames, bool localColorTables,
                        bool localDisposal);
    bool EncodeTrueColor(CRasterFile& file);

    void SetLoops(int loops) { loops_ = loops; }
    int GetLoops() const { return loops_; }
    void SetComment(const std::string& comment) { comment_ = comment.substr(0, 255); }
    const std::string& GetComment() const { return comment_; }

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

    bool DecodeBytes(std::span<const BYTE> data);
    // Frames that fit the screen; also tells whether any frame restores the previous picture,
    // the only case that needs a copy of it kept.
    int CountFrames(std::span<const BYTE> data, std::size_t start, int& screenW, int& screenH,
                    bool& restoresPrevious);
    bool ReadExtension(std::span<const BYTE> data, std::size_t& pos, Control& control);
    bool ReadDescriptor(std::span<const BYTE> data, std::size_t& pos,
                        const std::vector<RGBQUAD>& global, Frame& frame);
    std::unique_ptr<CRaster> DecodeFrame(std::span<const BYTE> data, Frame& frame, LONG transparent,
                                         std::size_t& end);
    // The picture built so far and what the next frame needs of the previous ones.
    struct Composition;
    bool PasteMosaicTile(Composition& c, const Frame& frame, const CRaster& tile, LONG transparent);
    bool ComposeFrame(Composition& c, const Frame& frame, const CRaster& image, LONG transparent,
                      bool first);
    // Takes the decoded picture and the kept frames over, with the caller's options.
    bool Adopt(std::unique_ptr<CRaster> result, std::vector<std::unique_ptr<CRaster>>& frames);

    bool WriteHeader(CRasterFile& file, const CRaster& image);
    bool WriteControl(CRasterFile& file, const CRaster& image, BYTE disposal);
    bool WriteComment(CRasterFile& file);
    bool WriteLoop(CRasterFile& file, int repeat);
    bool WriteBody(CRasterFile& file, const CRaster& image, bool localTable);
    bool WriteFailed();

    std::string comment_;
    int loops_ = 0;
};
