#pragma once
#include "controls/CFOCustomStatic.h"
#include "controls/CFOImageList.h"

// A custom static showing a row of images beside its text, or above it when the images are
// centred and there is text.
class CFOImageStatic : public CFOCustomStatic {
public:
    // Alignment bits of the image block and of the text.
    enum : int { kCentre = 1, kRight = 2, kMiddle = 4, kBottom = 8 };

    explicit CFOImageStatic(IStaticHost* host = nullptr) : CFOCustomStatic(host) {}

    // Returns the first new image's index, -1 when the picture is missing or cannot be cut
    // (see CFOImageList::Add); the list is then unchanged.
    int AddBitmap(const PixelPicture* picture, int imageWidth, COLORREF mask);
    bool RemoveImage(int index);
    bool HasImages() const { return images_.GetImageCount() > 0; }
    int GetImageCount() const { return images_.GetImageCount(); }

    void SetImageSpacing(int pixels);
    void SetTextGap(int pixels);
    void SetImageAlignment(int bits);
    void SetTextAlignment(int bits);
    int GetImageAlignment() const { return imageAlign_; }
    int GetTextAlignment() const { return textAlign_; }

    // Where the images and the text go inside `rect`.
    void Layout(CDC& dc, const CRect& rect, CRect& image, CRect& text);

    CRect GetTextRect(CDC& dc, const CRect& rect, bool measure) override;
    void DrawContent(CDC& dc, const CRect& rect, UINT state) override;

private:
    CSize BlockSize() const;
    void SideBySide(CDC& dc, const CRect& rect, CRect& image, CRect& text);
    void Stacked(CDC& dc, const CRect& rect, CRect& image, CRect& text);
    void Refresh();

    int spacing_ = 1;
    int gap_ = 1;
    int imageAlign_ = kMiddle;
    int textAlign_ = kMiddle;
    CFOImageList images_;
};
