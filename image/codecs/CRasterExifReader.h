#pragma once
#include "image/codecs/CRasterExifInfo.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CRasterFile;

// Reads the sections in front of a JPEG's image data and the EXIF block of a camera.
// Every offset and count in the EXIF data is checked against the block's length before it
// is used; a bad block only leaves the record's isExif false and a text in GetLastError().
class CRasterExifReader {
public:
    static constexpr int kMaxSections = 20;
    static constexpr std::size_t kMaxComment = 999;

    struct Section {
        int marker;
        std::vector<BYTE> data; // the payload, without the two length bytes
    };

    explicit CRasterExifReader(CRasterExifInfo& info) : info_(info) {}

    // Reads the sections up to the start of scan from the stream's position. The first EXIF
    // APP1 and the first comment fill the record; APP0 and other APP1 sections are dropped.
    bool ReadJpegSections(CRasterFile& file);
    // An APP1 payload: "Exif", two zero bytes, then a TIFF-style header and directories.
    bool ProcessExif(std::span<const BYTE> app1);
    // Keeps only the first APP1 and the first comment section.
    void DiscardAllButExif();
    const Section* FindSection(int marker) const;
    const std::vector<Section>& Sections() const { return sections_; }
    const std::string& GetLastError() const { return lastError_; }

private:
    bool Fail(const char* text);
    bool ReadSection(CRasterFile& file, int marker, bool& done);
    void ReadFrameHeader(const Section& s);
    void ReadComment(std::span<const BYTE> text);
    bool ProcessDirectory(std::uint64_t offset, int nesting);
    bool ProcessEntry(std::uint64_t entry, int nesting);
    void ReadTag(int tag, int format, std::uint64_t value, std::uint64_t bytes);
    bool EnterSubDirectory(std::uint64_t value, int nesting);
    std::string ReadText(std::uint64_t value, std::uint64_t bytes, std::size_t limit) const;
    void ReadUserComment(std::uint64_t value, std::uint64_t bytes);
    double Number(std::uint64_t value, int format) const;
    unsigned U16(std::uint64_t at) const;
    DWORD U32(std::uint64_t at) const;

    CRasterExifInfo& info_;
    std::string lastError_;
    bool motorola_ = false;
    std::span<const BYTE> tiff_; // the EXIF data after its six-byte header
    std::uint64_t largestOffset_ = 0;
    DWORD exifImageWidth_ = 0;
    bool haveExposure_ = false;
    bool haveAperture_ = false;
    std::uint64_t thumbnailOffset_ = 0;
    std::uint64_t thumbnailSize_ = 0;
    std::vector<Section> sections_;
};
