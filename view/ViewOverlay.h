#pragma once
#include <vector>

class CDC;

// One thing drawn over the page on the screen only (a tracked frame, a stroke's marks): never
// into the page itself, so removing it needs no re-render, and never printed or exported.
class IOverlayPart {
public:
    virtual ~IOverlayPart() = default;
    // Draws in client pixels: `dc` maps MM_TEXT with the client's top-left corner at (0, 0)
    // and is clipped to the part of the client being painted. A part with nothing to show
    // draws nothing.
    virtual void DrawOverlay(CDC& dc) = 0;
};

// The parts the view draws over its visible page, later ones on top. Parts are not owned:
// whoever adds one removes it before it goes away. Whoever changes what a part shows asks
// the view's window for a repaint.
class ViewOverlay {
public:
    // Adding a part twice keeps the one entry.
    void Add(IOverlayPart& part);
    void Remove(IOverlayPart& part);
    bool Contains(const IOverlayPart& part) const;
    bool Empty() const { return parts_.empty(); }
    // Each part in order, each in a state of the context of its own.
    void Draw(CDC& dc) const;

private:
    std::vector<IOverlayPart*> parts_;
};
