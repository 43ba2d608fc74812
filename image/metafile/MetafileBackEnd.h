#pragma once
#include "image/metafile/EmfRecordWriter.h"
#include "platform/IDcBackEnd.h"
#include "platform/LOGFONT.h"

#include <string>
#include <vector>

// Records what a device context draws as an enhanced metafile. The context sees a device of
// 1000 dots per inch over the frame, so under MM_HIENGLISH one logical unit is one device
// unit; the records say MM_HIENGLISH and store each device point (x, y) as (x, -y), which
// gives back the program's own logical units. The reference device, by whose pixels readers
// size the picture, is the screen. Lines that share a pen go out together as one
// POLYPOLYLINE record; fills are polygons drawn with the null pen.
class MetafileBackEnd : public IDcBackEnd {
public:
    static constexpr int kDpi = 1000;

    struct Setup {
        CRect frame;            // hundredths of a millimetre
        int referenceDpiX = 96; // the reference device's resolution
        int referenceDpiY = 96;
        std::string description; // stored as UTF-16 with two terminators
    };
    explicit MetafileBackEnd(const Setup& setup);

    DeviceCaps Caps() const override;
    // Device units in one pixel of the reference device, vertically: the size of a device's
    // own (stock) fonts, which are measured in the reference screen's pixels.
    double ReferencePixelY() const { return static_cast<double>(kDpi) / refDpiY_; }
    double StockFontScale() const override { return ReferencePixelY(); }
    CRect Bounds() const override { return bounds_; }
    void SetClip(const CRect& clip) override;

    void Stroke(const std::vector<CPoint>& points, bool closed, const DevicePen& pen,
                const Background& bk) override;
    void FillPolygon(const std::vector<CPoint>& points, int fillMode, const DeviceBrush& brush,
                     const Background& bk) override;
    void FillRect(const CRect& rect, const DeviceBrush& brush, const Background& bk) override;
    void Ellipse(const CRect& box, const DevicePen& pen, const DeviceBrush& brush,
                 const Background& bk) override;
    void InvertRect(const CRect& rect) override;
    void FocusRect(const CRect& rect) override;
    void DrawText(const TextLayout& layout, const TextPlacement& where) override;
    COLORREF GetPixel(CPoint p) override;
    void SetPixel(CPoint p, COLORREF color) override;
    void DrawSurface(RasterSurface& source, const CRect& from, const CRect& to) override;
    void Flush() override { FlushLines(); }

    // The whole file: the header, every record so far and the end record. Drawing after it
    // is not recorded.
    std::vector<BYTE> Finish();

private:
    // Selected-object slots of the handle table; two per kind, so that the new object is
    // created before the old one is deleted.
    enum Slot : DWORD { kPenSlot = 1, kBrushSlot = 3, kFontSlot = 5, kHandles = 7 };

    struct FontKey {
        std::u16string face;
        LONG height = 0;
        LONG escapement = 0;
        LOGFONT log; // weight, styles, character set and pitch as asked for
        bool operator==(const FontKey& o) const;
    };

    // Reference-device pixels that cover device points, for the records' bounds.
    struct BoundsBox {
        LONG left = 0, top = 0, right = -1, bottom = -1;
        bool empty = true;
        void Add(LONG x, LONG y);
    };

    void WriteHeader(const Setup& setup);
    void WriteBounds(const BoundsBox& box);
    void WritePoint16or32(const CPoint& p, bool wide);
    static bool Fits16(const CPoint& p);

    void Prepare();
    void ApplyClip();
    void SelectPen(const DevicePen& pen, const Background& bk);
    void SelectNullPen();
    void SelectBrush(const DeviceBrush& brush, const Background& bk);
    void SelectStock(int& slot, DWORD stock);
    DWORD NextSlot(int current, DWORD first) const;
    void SetBk(const Background& bk);
    void SetFillMode(int mode);
    void SetTextColor(COLORREF color);
    void SelectFont(const FontKey& key);
    void Polygon(const std::vector<CPoint>& points);
    void InvertDeviceRect(const CRect& rect);
    void FlushLines();
    void StretchDib(RasterSurface& source, const CRect& from, const CRect& to, bool flipX,
                    bool flipY);

    EmfRecordWriter out_;
    CRect bounds_;
    CRect clip_;
    CRect clipWritten_;
    int refDpiX_, refDpiY_;
    bool finished_ = false;

    // What the file has selected: a slot number, -1 - index for a stock object, 0 for the
    // defaults a playback starts with.
    int pen_ = 0, brush_ = 0, font_ = 0;
    DevicePen penShown_;
    DeviceBrush brushShown_;
    FontKey fontShown_;
    int bkMode_ = OPAQUE;
    COLORREF bkColor_ = 0xFFFFFF;
    int fillMode_ = ALTERNATE;
    COLORREF textColor_ = 0;

    // Lines waiting to go out as one record, all under the selected pen.
    std::vector<DWORD> lineCounts_;
    std::vector<CPoint> linePoints_;
    bool linesWide_ = false;
    BoundsBox lineBounds_;
    DevicePen linePen_;
    Background lineBk_;
};
