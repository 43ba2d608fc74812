#include "image/codecs/CRasterExifReader.h"

#include "image/core/CRasterFile.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr int kSOI = 0xD8;
constexpr int kEOI = 0xD9;
constexpr int kSOS = 0xDA;
constexpr int kAPP0 = 0xE0;
constexpr int kAPP1 = 0xE1;
constexpr int kCOM = 0xFE;
constexpr int kMaxNesting = 5;
constexpr int kMaxPadding = 6;

// Bytes per component of the twelve EXIF value formats (index = format code).
constexpr std::uint64_t kFormatSize[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

bool IsFrameHeader(int marker) {
    // SOF0-3, 5-7, 9-11, 13-15; 0xC4 (DHT), 0xC8 (JPG) and 0xCC (DAC) are not frames.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Inches per resolution unit.
float UnitFactor(double unit) {
    switch (static_cast<int>(unit)) {
    case 1:
    case 2:
        return 1.0f;
    case 3:
        return 0.3937f;
    case 4:
        return 0.03937f;
    case 5:
        return 0.00003937f;
    default:
        return 0.0f;
    }
}

} // namespace

bool CRasterExifReader::Fail(const char* text) {
    lastError_ = text;
    return false;
}

bool CRasterExifReader::ReadJpegSections(CRasterFile& file) {
    sections_.clear();
    if (file.GetC() != 0xFF || file.GetC() != kSOI)
        return Fail("Not a JPEG file");
    for (;;) {
        int marker = file.GetC();
        if (marker != 0xFF)
            return Fail("invalid marker");
        for (int padding = 0; marker == 0xFF; ++padding) {
            if (padding > kMaxPadding)
                return Fail("too many padding bytes");
            marker = file.GetC();
        }
        if (marker < 0)
            return Fail("Premature end of file?");
        if (marker == kEOI)
            return Fail("No image in jpeg!");
        if (sections_.size() >= kMaxSections)
            return Fail("Too many sections in jpg file");
        bool done = false;
        if (!ReadSection(file, marker, done))
            return false;
        if (done)
            return true;
    }
}

bool CRasterExifReader::ReadSection(CRasterFile& file, int marker, bool& done) {
    const LONG high = file.GetC();
    const LONG low = file.GetC();
    if (high < 0 || low < 0)
        return Fail("Premature end of file?");
    const std::size_t length = static_cast<std::size_t>(high) << 8 | static_cast<std::size_t>(low);
    if (length < 2)
        return Fail("invalid marker");
    Section s{marker, std::vector<BYTE>(length - 2)};
    if (!s.data.empty() && file.Read(s.data.data(), 1, s.data.size()) != s.data.size())
        return Fail("Premature end of file?");

    if (marker == kSOS) {
        done = true;
        return true;
    }
    if (IsFrameHeader(marker)) {
        ReadFrameHeader(s);
    } else if (marker == kAPP0) {
        return true;
    } else if (marker == kAPP1) {
        const bool exif = s.data.size() >= 4 && std::memcmp(s.data.data(), "Exif", 4) == 0;
        if (!exif || FindSection(kAPP1) != nullptr)
            return true;
        info_.isExif = ProcessExif(s.data);
    } else if (marker == kCOM) {
        if (FindSection(kCOM) != nullptr)
            return true;
        ReadComment(s.data);
    }
    sections_.push_back(std::move(s));
    return true;
}

void CRasterExifReader::ReadFrameHeader(const Section& s) {
    if (s.data.size() < 6)
        return;
    info_.height = s.data[1] << 8 | s.data[2];
    info_.width = s.data[3] << 8 | s.data[4];
    info_.isColor = s.data[5] == 3 ? 1 : 0;
    info_.process = s.marker;
}

// Line ends become plain line feeds; anything unprintable becomes '?'.
void CRasterExifReader::ReadComment(std::span<const BYTE> text) {
    info_.comment.clear();
    for (std::size_t i = 0; i < text.size() && info_.comment.size() < kMaxComment; ++i) {
        const BYTE c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        const bool printable = (c >= 0x20 && c < 0x7F) || c >= 0xA0;
        info_.comment.push_back(printable || c == '\n' || c == '\t' ? static_cast<char>(c) : '?');
    }
}

const CRasterExifReader::Section* CRasterExifReader::FindSection(int marker) const {
    for (const Section& s : sections_)
        if (s.marker == marker)
            return &s;
    return nullptr;
}

void CRasterExifReader::DiscardAllButExif() {
    std::vector<Section> kept;
    for (Section& s : sections_) {
        const bool wanted = s.marker == kAPP1 || s.marker == kCOM;
        const bool first = std::none_of(kept.begin(), kept.end(),
                                        [&](const Section& k) { return k.marker == s.marker; });
        if (wanted && first)
            kept.push_back(std::move(s));
    }
    sections_ = std::move(kept);
}

// ---- EXIF data --------------------------------------------------------------------------------

bool CRasterExifReader::ProcessExif(std::span<const BYTE> app1) {
    info_.flashUsed = 0;
    info_.comment.clear();
    info_.thumbnailOffset = info_.thumbnailSize = 0;
    exifImageWidth_ = 0;
    haveExposure_ = haveAperture_ = false;
    thumbnailOffset_ = thumbnailSize_ = 0;
    largestOffset_ = 0;
    tiff_ = {};
    if (app1.size() < 6 || std::memcmp(app1.data(), "Exif\0\0", 6) != 0)
        return Fail("Incorrect Exif header");
    tiff_ = app1.subspan(6);
    if (tiff_.size() < 8)
        return Fail("Invalid Exif alignment marker.");
    if (tiff_[0] == 'I' && tiff_[1] == 'I')
        motorola_ = false;
    else if (tiff_[0] == 'M' && tiff_[1] == 'M')
        motorola_ = true;
    else
        return Fail("Invalid Exif alignment marker.");
    if (U16(2) != 42)
        return Fail("Invalid Exif start (1)");
    const DWORD first = U32(4);
    if (first < 8 || first >= tiff_.size())
        return Fail("Suspicious offset of first IFD value");
    if (!ProcessDirectory(first, 0))
        return false;

    if (info_.focalPlaneXRes != 0)
        info_.ccdWidth = static_cast<float>(std::clamp<double>(
            exifImageWidth_ * double(info_.focalPlaneUnits) / info_.focalPlaneXRes, -FLT_MAX,
            FLT_MAX));
    if (thumbnailSize_ != 0 && thumbnailOffset_ + thumbnailSize_ <= tiff_.size()) {
        info_.thumbnailOffset = static_cast<DWORD>(thumbnailOffset_);
        info_.thumbnailSize = static_cast<DWORD>(thumbnailSize_);
    }
    return true;
}

bool CRasterExifReader::ProcessDirectory(std::uint64_t offset, int nesting) {
    if (nesting >= kMaxNesting)
        return Fail("Maximum directory nesting exceeded (corrupt exif header)");
    if (offset + 2 > tiff_.size())
        return Fail("Illegally sized directory");
    const std::uint64_t count = U16(offset);
    const std::uint64_t end = offset + 2 + 12 * count;
    if (end > tiff_.size())
        return Fail("Illegally sized directory");
    for (std::uint64_t i = 0; i < count; ++i)
        if (!ProcessEntry(offset + 2 + 12 * i, nesting))
            return false;

    // The first directory links to the thumbnail's directory.
    if (nesting == 0 && end + 4 <= tiff_.size()) {
        const DWORD next = U32(end);
        if (next != 0 && next < tiff_.size() && !ProcessDirectory(next, nesting + 1))
            return false;
    }
    return true;
}

bool CRasterExifReader::ProcessEntry(std::uint64_t entry, int nesting) {
    const int tag = static_cast<int>(U16(entry));
    const int format = static_cast<int>(U16(entry + 2));
    const std::uint64_t components = U32(entry + 4);
    if (format < 1 || format > 12)
        return Fail("Illegal format code in EXIF dir");
    const std::uint64_t bytes = components * kFormatSize[format];
    std::uint64_t value = entry + 8;
    if (bytes > 4) {
        value = U32(entry + 8);
        if (value + bytes > tiff_.size())
            return Fail("Illegal pointer offset value in EXIF.");
    }
    largestOffset_ = std::max(largestOffset_, value + bytes);
    if (tag == 0x8769 || tag == 0xA005)
        return EnterSubDirectory(value, nesting);
    if (bytes >= kFormatSize[format])
        ReadTag(tag, format, value, bytes);
    return true;
}

bool CRasterExifReader::EnterSubDirectory(std::uint64_t value, int nesting) {
    const DWORD offset = U32(value);
    if (offset >= tiff_.size())
        return Fail("Illegal sub-directory link in EXIF.");
    return ProcessDirectory(offset, nesting + 1);
}

void CRasterExifReader::ReadTag(int tag, int format, std::uint64_t value, std::uint64_t bytes) {
    const double v = Number(value, format);
    const auto f = static_cast<float>(std::clamp<double>(v, -FLT_MAX, FLT_MAX));
    const auto i = static_cast<LONG>(std::clamp(v, -2147483648.0, 2147483647.0));
    switch (tag) {
    case 0x010F:
        info_.cameraMake = ReadText(value, bytes, 31);
        break;
    case 0x0110:
        info_.cameraModel = ReadText(value, bytes, 39);
        break;
    case 0x0112:
        info_.orientation = i >= 1 && i <= 8 ? i : 0;
        if (info_.orientation == 0)
            lastError_ = "Undefined rotation value";
        break;
    case 0x011A:
        info_.xResolution = f;
        break;
    case 0x011B:
        info_.yResolution = f;
        break;
    case 0x0128:
        info_.resolutionUnit = UnitFactor(v);
        break;
    case 0x0201:
        thumbnailOffset_ = static_cast<std::uint64_t>(std::max(v, 0.0));
        break;
    case 0x0202:
        thumbnailSize_ = static_cast<std::uint64_t>(std::max(v, 0.0));
        break;
    case 0x829A:
        info_.exposureTime = f;
        haveExposure_ = true;
        break;
    case 0x829D:
        info_.apertureFNumber = f;
        haveAperture_ = true;
        break;
    case 0x8822:
        info_.exposureProgram = i;
        break;
    case 0x8827:
        info_.isoEquivalent = i >= 0 && i < 50 ? i * 200 : i;
        break;
    case 0x9000:
        info_.version = ReadText(value, bytes, 4);
        break;
    case 0x9003:
        info_.dateTime = ReadText(value, bytes, 19);
        break;
    case 0x9102:
        info_.compressionLevel = i;
        break;
    case 0x9201:
        if (!haveExposure_)
            info_.exposureTime = static_cast<float>(1.0 / std::exp2(std::clamp(v, -100.0, 100.0)));
        break;
    case 0x9202:
    case 0x9205:
        if (!haveAperture_)
            info_.apertureFNumber = static_cast<float>(std::exp2(std::clamp(v, -100.0, 100.0) / 2));
        break;
    case 0x9203:
        info_.brightness = f;
        break;
    case 0x9204:
        info_.exposureBias = f;
        break;
    case 0x9206:
        info_.distance = f;
        break;
    case 0x9207:
        info_.meteringMode = i;
        break;
    case 0x9208:
        info_.whiteBalance = i;
        break;
    case 0x9209:
        info_.flashUsed = (i & 7) != 0 ? 1 : 0;
        break;
    case 0x920A:
        info_.focalLength = f;
        break;
    case 0x9286:
        ReadUserComment(value, bytes);
        break;
    case 0xA002:
    case 0xA003:
        exifImageWidth_ = std::max<DWORD>(exifImageWidth_, static_cast<DWORD>(std::max(i, 0)));
        break;
    case 0xA20E:
        info_.focalPlaneXRes = f;
        break;
    case 0xA20F:
        info_.focalPlaneYRes = f;
        break;
    case 0xA210:
        info_.focalPlaneUnits = UnitFactor(v);
        break;
    default:
        break;
    }
}

std::string CRasterExifReader::ReadText(std::uint64_t value, std::uint64_t bytes,
                                        std::size_t limit) const {
    std::string text;
    const std::uint64_t end = std::min<std::uint64_t>(value + bytes, tiff_.size());
    for (std::uint64_t p = value; p < end && text.size() < limit && tiff_[p] != 0; ++p)
        text.push_back(static_cast<char>(tiff_[p]));
    return text;
}

// Eight bytes name the character code; only ASCII (or an unnamed code) is kept as text.
void CRasterExifReader::ReadUserComment(std::uint64_t value, std::uint64_t bytes) {
    if (bytes <= 8)
        return;
    const BYTE* code = tiff_.data() + value;
    const bool ascii = std::memcmp(code, "ASCII", 5) == 0 ||
                       std::all_of(code, code + 8, [](BYTE b) { return b == 0; });
    if (!ascii)
        return;
    std::string text = ReadText(value + 8, bytes - 8, kMaxComment);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (!text.empty())
        info_.comment = text;
}

double CRasterExifReader::Number(std::uint64_t value, int format) const {
    switch (format) {
    case 1:
        return tiff_[value];
    case 3:
        return U16(value);
    case 4:
        return U32(value);
    case 5: {
        const DWORD den = U32(value + 4);
        return den == 0 ? 0.0 : double(U32(value)) / den;
    }
    case 6:
        return static_cast<signed char>(tiff_[value]);
    case 8:
        return static_cast<std::int16_t>(U16(value));
    case 9:
        return static_cast<std::int32_t>(U32(value));
    case 10: {
        const auto den = static_cast<std::int32_t>(U32(value + 4));
        return den == 0 ? 0.0 : double(static_cast<std::int32_t>(U32(value))) / den;
    }
    case 11: {
        const float x = std::bit_cast<float>(U32(value));
        return std::isfinite(x) ? x : 0.0;
    }
    case 12: {
        const std::uint64_t a = U32(value);
        const std::uint64_t b = U32(value + 4);
        const double d = std::bit_cast<double>(motorola_ ? a << 32 | b : b << 32 | a);
        return std::isfinite(d) ? d : 0.0;
    }
    default:
        return 0.0;
    }
}

unsigned CRasterExifReader::U16(std::uint64_t at) const {
    if (at + 2 > tiff_.size())
        return 0;
    const unsigned a = tiff_[at];
    const unsigned b = tiff_[at + 1];
    return motorola_ ? a << 8 | b : b << 8 | a;
}

DWORD CRasterExifReader::U32(std::uint64_t at) const {
    if (at + 4 > tiff_.size())
        return 0;
    const DWORD hi = U16(motorola_ ? at : at + 2);
    const DWORD lo = U16(motorola_ ? at + 2 : at);
    return hi << 16 | lo;
}
