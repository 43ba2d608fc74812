#include "view/ObjectFrameTracking.h"

#include "document/CGridloomDoc.h"
#include "platform/CDC.h"
#include "view/IToolView.h"
#include "view/IViewWindow.h"

ObjectFrameTracking::ObjectFrameTracking(IToolView& view) : view_(view) {
    view_.Overlay().Add(*this);
}

ObjectFrameTracking::~ObjectFrameTracking() {
    view_.Overlay().Remove(*this);
}

CPoint ObjectFrameTracking::PagePoint(CPoint client) const {
    const CPoint scroll = view_.Window().ScrollPosition();
    return CPoint(client.x + scroll.x, client.y + scroll.y);
}

std::optional<std::size_t> ObjectFrameTracking::ObjectAt(int layer, CPoint client) const {
    const CGridloomDoc* doc = view_.GetDocument();
    if (!doc)
        return std::nullopt;
    const CPoint scroll = view_.Window().ScrollPosition();
    const auto& objects = doc->layerObjects;
    for (std::size_t i = objects.size(); i-- > 0;) {
        if (objects[i].GetLayer() == layer &&
            objects[i].HitTestLogical(client.x, client.y, scroll.x, scroll.y) >= 0)
            return i;
    }
    return std::nullopt;
}

bool ObjectFrameTracking::BeginObject(std::size_t index, CPoint client) {
    Cancel();
    const CGridloomDoc* doc = view_.GetDocument();
    if (!doc || index >= doc->layerObjects.size())
        return false;
    // A copy of the object's frame: the object itself stays as it is until the release.
    frame_ = static_cast<const CRectTracker&>(doc->layerObjects[index]);
    const CPoint at = PagePoint(client);
    if (!frame_.BeginTrack(at, frame_.HitTest(at)))
        return false;
    object_ = index;
    Repaint();
    return true;
}

void ObjectFrameTracking::BeginRubberBand(CPoint client) {
    Cancel();
    frame_ = CRectTracker();
    frame_.BeginRubberBand(PagePoint(client));
    Repaint();
}

void ObjectFrameTracking::TrackTo(CPoint client) {
    if (!IsTracking())
        return;
    frame_.TrackTo(PagePoint(client));
    Repaint();
}

std::optional<ObjectFrameTracking::Outcome> ObjectFrameTracking::End(CPoint client) {
    if (!IsTracking())
        return std::nullopt;
    frame_.TrackTo(PagePoint(client));
    Outcome outcome;
    outcome.changed = frame_.EndTrack(true);
    outcome.page = frame_.m_rect;
    outcome.page.NormalizeRect();
    outcome.object = object_;
    object_.reset();
    Repaint();
    return outcome;
}

void ObjectFrameTracking::Cancel() {
    if (!IsTracking())
        return;
    frame_.EndTrack(false);
    object_.reset();
    Repaint();
}

void ObjectFrameTracking::DrawOverlay(CDC& dc) {
    if (!IsTracking())
        return;
    const CPoint scroll = view_.Window().ScrollPosition();
    CRect shown = frame_.m_rect;
    shown.NormalizeRect();
    shown.OffsetRect(-scroll.x, -scroll.y);
    CRectTracker(shown, CRectTracker::dottedLine).Draw(dc);
}

void ObjectFrameTracking::Repaint() const {
    view_.Window().Invalidate();
}
