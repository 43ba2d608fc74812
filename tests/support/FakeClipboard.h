#pragma once
#include "platform/IClipboard.h"

#include <optional>
#include <string>
#include <vector>

// A clipboard held in memory: tests put text or a picture there and read what the program
// wrote. Encoded pictures are kept apart from the decoded one: the first of `encoded` is what
// the best offered format reads.
class FakeClipboard : public IClipboard {
public:
    bool OffersText() const override { return text.has_value(); }
    bool OffersPicture() const override { return picture.has_value() || !encoded.empty(); }
    std::optional<std::string> ReadText() override { return text; }
    std::optional<RgbaPicture> ReadPicture() override { return picture; }
    bool WriteText(const std::string& t) override {
        ++writes;
        text = t;
        picture.reset();
        encoded.clear();
        return true;
    }
    bool WritePicture(const RgbaPicture& p) override {
        ++writes;
        picture = p;
        text.reset();
        encoded.clear();
        return true;
    }
    std::optional<ClipboardPicture> ReadEncodedPicture() override {
        if (encoded.empty())
            return std::nullopt;
        return encoded.front();
    }
    bool WriteEncodedPictures(const std::vector<ClipboardPicture>& pictures) override {
        ++writes;
        encoded = pictures;
        text.reset();
        picture.reset();
        return true;
    }

    std::optional<std::string> text;
    std::optional<RgbaPicture> picture;
    std::vector<ClipboardPicture> encoded;
    int writes = 0;
};
