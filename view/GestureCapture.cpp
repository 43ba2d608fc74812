#include "view/GestureCapture.h"

#include "gesture/CMouseGesture.h"
#include "gesture/GestureNames.h"
#include "platform/MouseKeyFlags.h"
#include "platform/Sound.h"
#include "view/IToolView.h"
#include "view/IViewWindow.h"
#include "view/ViewOverlay.h"

GestureCapture::GestureCapture(IToolView& view) : view_(view) {}

GestureCapture::~GestureCapture() {
    view_.Overlay().Remove(marks_);
}

void GestureCapture::MarksChanged() {
    // On the overlay only while there is something to show.
    if (marks_.Empty())
        view_.Overlay().Remove(marks_);
    else
        view_.Overlay().Add(marks_);
}

bool GestureCapture::TakesLeftDown(UINT keyFlags, CPoint client) {
    if (!gesture_ || ((keyFlags & MK_CONTROL) == 0 && mode_ != kWaiting))
        return false;
    mode_ = kRecording;
    strokeOpen_ = true;
    if (!marks_.Empty()) {
        marks_.Clear();
        MarksChanged();
        view_.Window().Invalidate();
    }
    gesture_->StartStroke(client.x, client.y);
    return true;
}

bool GestureCapture::TakesMove(UINT, CPoint client) {
    if (!strokeOpen_)
        return false;
    if (mode_ == kRecording) {
        gesture_->AddPoint(client.x, client.y);
        const CPoint scroll = view_.Window().ScrollPosition();
        CRect covered = marks_.AddDot(client);
        MarksChanged();
        covered.OffsetRect(scroll.x, scroll.y);
        view_.Window().InvalidatePage(covered);
    }
    return true;
}

bool GestureCapture::TakesLeftUp(UINT, CPoint) {
    const bool finish = strokeOpen_ && mode_ == kRecording;
    const bool taken = strokeOpen_;
    strokeOpen_ = false;
    mode_ = kIdle;
    if (finish) {
        Finish();
    } else if (taken && !marks_.Empty()) {
        // The space bar ended the stroke half way: its dots go, nothing is named.
        marks_.Clear();
        MarksChanged();
        view_.Window().Invalidate();
    }
    return taken;
}

void GestureCapture::CaptureLost() {
    if (!strokeOpen_)
        return;
    strokeOpen_ = false;
    mode_ = kIdle;
    marks_.Clear();
    MarksChanged();
    view_.Window().Invalidate();
}

void GestureCapture::OnChar(unsigned character) {
    if (character != kSpace || !gesture_)
        return;
    mode_ = mode_ == kIdle ? kWaiting : kIdle;
    ISound::Current().Play("gesturewaiting");
}

void GestureCapture::Finish() {
    lastClass_ = gesture_->Recognize();
    const CGesturePad& pad = gesture_->GetPad();
    marks_.SetStroke(pad.RawPoints(), pad.ResampledPoints());
    ShowThumbnail(lastClass_);
    MarksChanged();
    view_.Window().Invalidate();
    const std::string name =
        lastClass_ >= 0 ? GestureNames[static_cast<std::size_t>(lastClass_)] : "";
    dispatcher_.Dispatch(name, view_.ActiveLayer(), view_.Window());
    view_.Window().SetTimer(kMarksTimer, kMarksMilliseconds);
}

void GestureCapture::ShowThumbnail(int cls) {
    CRaster picture;
    const bool made =
        cls >= 0 ? gesture_->RenderPrototype(cls, picture) : gesture_->RenderTopList(picture);
    if (made)
        marks_.SetThumbnail(std::move(picture),
                            GestureMarks::ThumbnailPlace(view_.Window().ClientSize().cx));
}

void GestureCapture::OnTimer(int id) {
    if (id != kMarksTimer)
        return;
    view_.Window().KillTimer(kMarksTimer);
    marks_.Clear();
    MarksChanged();
    view_.Window().Invalidate();
}
