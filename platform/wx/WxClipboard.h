#pragma once
#include "platform/IClipboard.h"

#include <chrono>

// The desktop's clipboard (the CLIPBOARD selection, not the primary one) through the toolkit.
// Each call opens and closes it. What the program put there stays the program's to answer
// until another owner takes it; Flush hands it to the desktop's clipboard keeper, where there
// is one, so that it outlives the program.
class WxClipboard : public IClipboard {
public:
    // The picture types looked for, best first.
    static constexpr const char* kPictureTypes[] = {
        "image/png",  "image/bmp", "image/x-bmp", "image/x-MS-bmp",
        "image/tiff", "image/gif", "image/jpeg",
    };

    bool OffersText() const override;
    bool OffersPicture() const override;
    std::optional<std::string> ReadText() override;
    std::optional<RgbaPicture> ReadPicture() override;
    bool WriteText(const std::string& text) override;
    bool WritePicture(const RgbaPicture& picture) override;
    std::optional<ClipboardPicture> ReadEncodedPicture() override;
    bool WriteEncodedPictures(const std::vector<ClipboardPicture>& pictures) override;

    static bool Flush();

private:
    // The menus ask what is offered at every idle moment, and each question is a round trip
    // to the owner: the answers are kept for a moment, and forgotten by every write.
    struct Offers {
        bool text = false;
        bool picture = false;
        std::chrono::steady_clock::time_point at;
    };
    static constexpr std::chrono::milliseconds kOffersKept{700};
    const Offers& CurrentOffers() const;
    void Forget() { offers_.reset(); }

    mutable std::optional<Offers> offers_;
};
