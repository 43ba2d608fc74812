#include "view/ViewOverlay.h"

#include "platform/CDC.h"

#include <algorithm>

void ViewOverlay::Add(IOverlayPart& part) {
    if (!Contains(part))
        parts_.push_back(&part);
}

void ViewOverlay::Remove(IOverlayPart& part) {
    std::erase(parts_, &part);
}

bool ViewOverlay::Contains(const IOverlayPart& part) const {
    return std::find(parts_.begin(), parts_.end(), &part) != parts_.end();
}

void ViewOverlay::Draw(CDC& dc) const {
    // A copy: a part may remove itself (or another) while it draws.
    const std::vector<IOverlayPart*> parts = parts_;
    for (IOverlayPart* part : parts) {
        if (!Contains(*part))
            continue;
        // A part leaves pens, modes and clipping as it likes; the next one starts clean.
        const int saved = dc.SaveDC();
        part->DrawOverlay(dc);
        dc.RestoreDC(saved);
    }
}
