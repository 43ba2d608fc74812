#pragma once
#include "image/core/CRaster.h"
#include "image/core/PictureBudget.h"

#include <cstdint>
#include <string>

class CRasterFile;

// A picture format class: an image that can read itself from a stream and write itself to
// one. The dispatch builds one for a format id, lets it decode and takes the result over, or
// lets it share the caller's storage and encode it.
class CRasterCodec : public CRaster {
public:
    static constexpr const char* kLargerThanData = "picture larger than its data";

    explicit CRasterCodec(DWORD type) : CRaster(type) {}

    virtual bool Decode(CRasterFile& file, const DecodeOptions& options) = 0;
    virtual bool Encode(CRasterFile& file) = 0;

protected:
    // Stores the text as the last error and returns false, so failures read `return Fail(..)`.
    bool Fail(const std::string& text);
    // The refusal of every reader whose file declares more picture than its bytes can give,
    // made before anything is allocated for it.
    bool FailLargerThanData() { return Fail(kLargerThanData); }
    // The refusal of a picture whose decode would hold more than the budget at its peak.
    bool FailTooLarge(const char* format, std::uint64_t width, std::uint64_t height,
                      std::uint64_t estimate, const DecodeOptions& options);
    // What a decoded picture of this size holds: its rows (4-byte padded), and an alpha
    // plane when asked; the base of every reader's estimate.
    static std::uint64_t PictureBytes(std::uint64_t width, std::uint64_t height, unsigned bpp,
                                      bool alpha = false);
    // True when a decode was asked for the header only (escape flag -1).
    bool HeaderOnly() const { return Info().escape == -1; }
    // Whether a long loop must stop; sets "Cancelled" when it must.
    bool Cancelled();
    void SetProgress(std::uint64_t done, std::uint64_t total);
    // Bytes between the stream's position and its end.
    static std::uint64_t BytesLeft(CRasterFile& file);
    static bool ReadExact(CRasterFile& file, void* buffer, std::size_t n);
    static bool WriteExact(CRasterFile& file, const void* buffer, std::size_t n);
    // Moves forward n bytes, false when fewer are left.
    static bool Skip(CRasterFile& file, std::uint64_t n);
};
