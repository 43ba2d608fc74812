#pragma once
#include "platform/IClipboard.h"

#include <optional>
#include <string>

// A clipboard held in memory: tests put text or a picture there and read what the program
// wrote.
class FakeClipboard : public IClipboard {
public:
    bool OffersText() const override { return text.has_value(); }
    bool OffersPicture() const override { return picture.has_value(); }
    std::optional<std::string> ReadText() override { return text; }
    std::optional<RgbaPicture> ReadPicture() override { return picture; }
    bool WriteText(const std::string& t) override {
        ++writes;
        text = t;
        picture.reset();
        return true;
    }
    bool WritePicture(const RgbaPicture& p) override {
        ++writes;
        picture = p;
        text.reset();
        return true;
    }

    std::optional<std::string> text;
    std::optional<RgbaPicture> picture;
    int writes = 0;
};
