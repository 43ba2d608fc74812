#pragma once
#include "platform/WinTypes.h"
#include "view/ILayerMouseTool.h"

#include <cstdint>
#include <memory>
#include <vector>

class CGridloomDoc;
class IToolView;
class CLogicalRectTracker;
class CRaster;
class ObjectFrameTracking;
class CRect;

// The mouse on the background and foreground layers: a press on a picture of the active
// layer moves or resizes the topmost one; a press elsewhere draws a rubber band that receives
// a new picture, pasted or loaded from a file. The press begins the drag; the rest happens at
// the release.
class PictureLayerTool : public ILayerMouseTool {
public:
    static constexpr const char* kPasteQuestion =
        "Would you like to use the contents of the Clipboard rather than load a file?";
    static constexpr const char* kPasteCaption = "Paste from Clipboard?";
    static constexpr const char* kFileFilter =
        "Bitmap file(*.bmp)|*.bmp|GIF file(*.gif)|*.gif|TIFF file(*.tif)|*.tif||";
    static constexpr const char* kLoadFailed = "The picture could not be loaded: ";
    static constexpr const char* kPlaceFailed = "The picture cannot be placed: ";
    // A picture file larger than a document can hold back is refused.
    static constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 29;

    PictureLayerTool(IToolView& view, ObjectFrameTracking& frames);

    void LeftDown(UINT keyFlags, CPoint client) override;
    void RightDown(UINT, CPoint) override {}
    void Move(UINT keyFlags, CPoint client) override;
    void LeftUp(UINT keyFlags, CPoint client) override;
    void Cancel() override;

private:
    void PlaceNewPicture(const CRect& page);
    // A picture for a new object, with the file's bytes when it was read from one.
    struct Obtained {
        std::unique_ptr<CRaster> picture;
        std::shared_ptr<const std::vector<BYTE>> encoded;
    };
    // The picture for a new object: pasted or from a file; none when the user cancelled or
    // the file could not be read (after saying so).
    Obtained ObtainPicture();
    Obtained LoadPictureFile();
    // The object's frame (page pixels) and its rectangle in the page's logical units.
    void SetFrame(CLogicalRectTracker& object, const CRect& page) const;
    void Finish();

    IToolView& view_;
    ObjectFrameTracking& frames_;
};
