#pragma once
#include "platform/CHOOSEFONT.h"
#include "platform/CRect.h"
#include "platform/FontDialog.h"
#include "platform/LOGFONT.h"
#include "view/ILayerMouseTool.h"

#include <cstddef>
#include <optional>

class CGridloomDoc;
class IToolView;
class CLogicalRectTracker;
class CProfile;
class ObjectFrameTracking;

// The text layer's mouse tool. A left press on a text object moves or resizes it and opens
// the text box over it; a left press elsewhere draws a rubber band, asks for a font and a
// colour and makes a new text object there. A right press on a text object asks for a new
// font and colour for it. The font of the last new object is kept in the profile and
// offered for the next one.
class TextTool : public ILayerMouseTool {
public:
    static constexpr const char* kSection = "FONT";
    static constexpr const char* kChooseFontEntry = "CF";
    static constexpr const char* kLogFontEntry = "LF";

    TextTool(IToolView& view, ObjectFrameTracking& frames);

    void LeftDown(UINT keyFlags, CPoint client) override;
    void RightDown(UINT keyFlags, CPoint client) override;
    void Move(UINT keyFlags, CPoint client) override;
    void LeftUp(UINT keyFlags, CPoint client) override;
    void Cancel() override;

    // The topmost text object of the active layer under a client point; pictures that a file
    // put on the text layer are passed over, as they have no font to edit.
    std::optional<std::size_t> ObjectAt(CPoint client) const;
    // The font dialog's start for a new object: the stored font and colour when both stored
    // values are whole records, else the dialog's default.
    static FontDialogRequest NewObjectRequest(const CProfile& profile);
    static void StoreFont(CProfile& profile, const CHOOSEFONT& choose, const LOGFONT& log);

private:
    CGridloomDoc* Doc() const;
    // Client pixels to 0.001 inch through the screen's mapping at the current scroll.
    CRect ClientToLogical(const CRect& client) const;
    void FinishMove(std::size_t index);
    void FinishRubberBand(const CRect& client);
    void EndOfPress();

    IToolView& view_;
    ObjectFrameTracking& frames_;
    // The font dialog's start for a new object, read at the press.
    FontDialogRequest pending_;
};
