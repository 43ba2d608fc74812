#pragma once
#include "platform/CGdiObject.h"
#include "platform/GdiStructs.h"
#include "platform/RasterSurface.h"

#include <memory>

class CDC;

// A bitmap a memory device context draws into: a 32-bit pixel buffer (rows top-down) whose
// memory the image library may read and write in place. Before reading pixels that a context
// drew, go through Bits() (or GetBitmap), which completes the drawing first.
class CBitmap : public CGdiObject {
public:
    CBitmap() = default;

    Kind GetKind() const override { return Kind::Bitmap; }
    // A white bitmap of width x height pixels; false when the size is not positive or too
    // large for memory.
    bool CreateBitmap32(int width, int height);
    bool CreateCompatibleBitmap(const CDC* dc, int width, int height);
    // Draws into memory the caller owns and keeps alive (stride in bytes, rows top-down).
    bool CreateOver(std::uint8_t* bits, int width, int height, int stride);
    bool Attach(std::shared_ptr<RasterSurface> surface);

    int GetBitmap(BITMAP* bm) const;
    int Width() const { return surface_ ? surface_->Width() : 0; }
    int Height() const { return surface_ ? surface_->Height() : 0; }
    int Stride() const { return surface_ ? surface_->Stride() : 0; }
    std::uint8_t* Bits() const;
    // Call after writing through Bits() so that later drawing sees the change.
    void MarkDirty() const;
    const std::shared_ptr<RasterSurface>& Surface() const { return surface_; }

protected:
    void Reset() override { surface_.reset(); }

private:
    std::shared_ptr<RasterSurface> surface_;
};
