#pragma once
#include "platform/CArchive.h"
#include "platform/CHOOSEFONT.h"
#include "platform/CRectTracker.h"
#include "platform/CoordinateMapping.h"
#include "platform/LOGFONT.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// A text or picture placed on one of the layers around the maze. The tracker part (device
// pixels, scrolled document coordinates) gives the selection frame and dragging; the object
// adds its rectangle in 0.001 inch, its content and its layer. Copies share the picture,
// which is never changed in place (a new one replaces it), so copying an object list for undo
// costs no pixels. A picture keeps the encoded bytes it was read from, in its own type, and
// is saved with them: a lossy format would otherwise lose quality on every save.
class CDC;
class CRaster;
class PictureAllowance;

class CLogicalRectTracker : public CRectTracker {
public:
    enum Kind : int { kindNone = 0, kindTextTransparent = 1, kindTextOpaque = 2, kindPicture = 3 };
    enum Layer : int { layerBackground = 1, layerMaze = 2, layerForeground = 3, layerText = 4 };

    // The font dialog's record and the font it chose, always held together.
    struct Font {
        CHOOSEFONT choose;
        LOGFONT log;
        friend bool operator==(const Font&, const Font&) = default;
    };

    // How the screen shows the page at scale 1, 96 pixels per inch: where the text of an
    // object is typed, and so where its lines break on every device.
    static CoordinateMapping ScreenMapping();
    // A text's character height in logical units (0.001 inch) for a size in tenths of a point.
    static LONG LogicalTextHeight(int pointTenths);

    CLogicalRectTracker();
    ~CLogicalRectTracker() override;
    CLogicalRectTracker(const CLogicalRectTracker& other);
    CLogicalRectTracker& operator=(const CLogicalRectTracker& other);
    CLogicalRectTracker(CLogicalRectTracker&&) noexcept;
    CLogicalRectTracker& operator=(CLogicalRectTracker&&) noexcept;

    int GetKind() const { return kind_; }
    void SetKind(int kind) { kind_ = kind; }
    bool IsText() const { return kind_ == kindTextTransparent || kind_ == kindTextOpaque; }
    // 0 not selected; 1, 2 or another value pick the frame drawn around a selected object.
    int GetSelectionStyle() const { return selectionStyle_; }
    void SetSelectionStyle(int style) { selectionStyle_ = style; }
    const CRect& GetLogicalRect() const { return logicalRect_; }
    void SetLogicalRect(LONG left, LONG top, LONG right, LONG bottom) {
        logicalRect_.SetRect(left, top, right, bottom);
    }
    int GetLayer() const { return layer_; }
    void SetLayer(int layer) { layer_ = layer; }
    const std::string& GetText() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    COLORREF GetTextColor() const { return textColor_; }
    void SetTextColor(COLORREF color) { textColor_ = color; }

    const std::optional<Font>& GetFont() const { return font_; }
    std::optional<Font>& GetFont() { return font_; }
    void SetFont(const CHOOSEFONT& choose, const LOGFONT& log) { font_ = Font{choose, log}; }

    // The picture of a picture object (kind 3), or null.
    const CRaster* GetImage() const { return picture_.get(); }
    const std::shared_ptr<const CRaster>& SharedImage() const { return picture_; }
    // Takes the picture (releasing this object's hold on any previous one) and sets the kind.
    // `encoded`, when given, holds the bytes the picture was decoded from in its type.
    void SetImage(std::shared_ptr<const CRaster> picture, int kind,
                  std::shared_ptr<const std::vector<BYTE>> encoded = nullptr);

    // The tracker's hit test, cursor and drag for a point in client pixels of a view
    // scrolled to (sx, sy).
    int HitTestLogical(int x, int y, int sx, int sy) const;
    Cursor GetCursorLogical(int x, int y, int sx, int sy) const;
    bool BeginTrackLogical(int x, int y, int sx, int sy, bool allowInvert = false);
    void TrackToLogical(int x, int y, int sx, int sy);

    // Draws the text or picture into the logical rectangle of `dc`'s mapping, then the
    // tracker when the object is selected (style 1 dotted, 2 solid with outside handles, any
    // other hatched). Sets the font's height from its point size, as 0.001 inch.
    void Draw(CDC& dc);

    // The layer-object record of documents and undo snapshots. A bad record fails the
    // archive; the object is then to be discarded.
    void Serialize(CArchive& ar);
    void Store(CArchive& ar) const;
    void Load(CArchive& ar);
    // The same, its picture held to what `pictures` allows; a stopped decode fails the
    // archive with CRaster::kCancelled.
    void Load(CArchive& ar, PictureAllowance& pictures);

private:
    bool HasSaneGeometry() const;
    void DrawText(CDC& dc);
    void StoreContent(CArchive& ar) const;
    void LoadContent(CArchive& ar, PictureAllowance& pictures);
    void StoreFont(CArchive& ar) const;
    void LoadFont(CArchive& ar);
    void StorePicture(CArchive& ar) const;
    void LoadPicture(CArchive& ar, PictureAllowance& pictures);

    int kind_ = kindNone;
    int selectionStyle_ = 0;
    CRect logicalRect_;
    std::string text_;
    COLORREF textColor_ = 0;
    std::optional<Font> font_;
    std::shared_ptr<const CRaster> picture_;
    std::shared_ptr<const std::vector<BYTE>> encoded_;
    int layer_ = 0;
};
