#pragma once
#include "platform/RgbaPicture.h"

#include <optional>
#include <string>
#include <vector>

// A picture as the clipboard carries it: its MIME type ("image/png", "image/bmp", ...) and
// the encoded bytes.
struct ClipboardPicture {
    std::string mimeType;
    std::vector<BYTE> bytes;
};

// The desktop clipboard as the program uses it: it asks what is offered, reads text or the
// best picture the toolkit can decode, and puts text or a picture there. Reads that find
// nothing usable give no value; writes report whether the clipboard took the data.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual bool OffersText() const = 0;
    virtual bool OffersPicture() const = 0;
    virtual std::optional<std::string> ReadText() = 0;
    virtual std::optional<RgbaPicture> ReadPicture() = 0;
    virtual bool WriteText(const std::string& text) = 0;
    virtual bool WritePicture(const RgbaPicture& picture) = 0;
    // The encoded picture of the best format offered (PNG, then BMP, then the others), for
    // the program's own decoders; none when no picture is offered, and no bytes when the
    // owner offered one but handed over nothing.
    virtual std::optional<ClipboardPicture> ReadEncodedPicture() = 0;
    // Offers one picture in each of the given encodings at once.
    virtual bool WriteEncodedPictures(const std::vector<ClipboardPicture>& pictures) = 0;
};

// A clipboard that holds nothing and takes nothing: what the program has where no desktop
// clipboard is wired in.
class NoClipboard : public IClipboard {
public:
    bool OffersText() const override { return false; }
    bool OffersPicture() const override { return false; }
    std::optional<std::string> ReadText() override { return std::nullopt; }
    std::optional<RgbaPicture> ReadPicture() override { return std::nullopt; }
    bool WriteText(const std::string&) override { return false; }
    bool WritePicture(const RgbaPicture&) override { return false; }
    std::optional<ClipboardPicture> ReadEncodedPicture() override { return std::nullopt; }
    bool WriteEncodedPictures(const std::vector<ClipboardPicture>&) override { return false; }
};
