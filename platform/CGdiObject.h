#pragma once

// Base of the drawing objects a device context selects (pens, brushes, fonts, bitmaps,
// regions). A device context copies what it needs at selection, so an object may change or go
// away while selected without harming the context; only the pointer handed back by
// SelectObject must stay valid for whoever selects it again.
class CGdiObject {
public:
    enum class Kind { Pen, Brush, Font, Bitmap, Region };

    virtual ~CGdiObject() = default;
    virtual Kind GetKind() const = 0;
    // Non-null once the object has been created and until it is deleted.
    const void* GetSafeHandle() const { return created_ ? this : nullptr; }
    // Stock objects cannot be deleted; the call then does nothing and returns false.
    bool DeleteObject();
    bool IsStock() const { return stock_; }

protected:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = default;
    CGdiObject& operator=(const CGdiObject&) = default;
    void MarkCreated() { created_ = true; }
    void MarkStock() { stock_ = true; }
    virtual void Reset() = 0;

private:
    bool created_ = false;
    bool stock_ = false;
};
