#pragma once
#include "image/core/CRaster.h"
#include "platform/CRect.h"

#include <vector>

class CDC;
struct PixelPicture;

// A row of equally wide images cut from pictures, each with a mask colour that draws
// transparent.
class CFOImageList {
public:
    // Cuts `picture` into images `imageWidth` wide (negative: one image of the whole width)
    // and adds them. The first new index, or -1, the list unchanged, for a missing or empty
    // picture or a width of 0 or wider than the picture.
    int Add(const PixelPicture* picture, int imageWidth, COLORREF mask);
    bool Remove(int index);
    int GetImageCount() const { return static_cast<int>(images_.size()); }
    CSize GetImageSize(int index) const;
    // Draws image `index` with its corner at (x, y); the mask colour shows `background`, or
    // what lies below with CLR_INVALID. False for an index the list does not hold.
    bool Draw(CDC& dc, int index, CPoint at, COLORREF background) const;

private:
    std::vector<CRaster> images_;
};
