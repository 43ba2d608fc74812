#pragma once
#include "platform/CPoint.h"
#include "platform/CRect.h"
#include "platform/CRectTracker.h"
#include "view/ViewOverlay.h"

#include <cstddef>
#include <optional>

class IToolView;

// The frame the mouse drags on an object layer: a layer object's rectangle being moved or
// resized, or a rubber band for a new object. It follows the window's events rather than a
// loop of its own: the press begins it (the window holds the mouse until the release), each
// move follows the pointer, the release ends it, and Escape or a lost capture cancels it.
// Meanwhile its dotted frame is drawn in the view's overlay; the page is not touched, and
// the object keeps its rectangle until the tool applies the outcome.
class ObjectFrameTracking : public IOverlayPart {
public:
    // How a drag ended: the frame in page pixels (normalised) and, for an object's frame,
    // the object's index in the document's list.
    struct Outcome {
        CRect page;
        std::optional<std::size_t> object;
        bool changed = false;
    };

    explicit ObjectFrameTracking(IToolView& view);
    ~ObjectFrameTracking() override;
    ObjectFrameTracking(const ObjectFrameTracking&) = delete;
    ObjectFrameTracking& operator=(const ObjectFrameTracking&) = delete;

    // The topmost object of `layer` (the latest in the list) whose frame lies under `client`.
    std::optional<std::size_t> ObjectAt(int layer, CPoint client) const;
    // Begins moving or resizing object `index` by the part of its frame under `client`;
    // false (nothing begun) when no part of it is there.
    bool BeginObject(std::size_t index, CPoint client);
    // Begins a rubber band at `client`, its far corner following the pointer.
    void BeginRubberBand(CPoint client);
    bool IsTracking() const { return frame_.IsTracking(); }
    void TrackTo(CPoint client);
    // The release at `client`: the outcome, or none when nothing was being tracked.
    std::optional<Outcome> End(CPoint client);
    // Escape, a lost capture, or the document changing under the drag: nothing is kept.
    void Cancel();

    void DrawOverlay(CDC& dc) override;

private:
    CPoint PagePoint(CPoint client) const;
    void Repaint() const;

    IToolView& view_;
    CRectTracker frame_; // page pixels, as the objects keep their trackers
    std::optional<std::size_t> object_;
};
