// Clipping of the device context: one rectangle in device pixels, kept in the saved state and
// handed to the back end.
#include "platform/CDC.h"

CRect CDC::EffectiveClip() const {
    if (!backEnd_)
        return {};
    if (!state_.clipped)
        return backEnd_->Bounds();
    CRect c;
    c.IntersectRect(state_.clip, backEnd_->Bounds());
    return c;
}

void CDC::ApplyClip() {
    if (backEnd_)
        backEnd_->SetClip(EffectiveClip());
}

int CDC::ClipResult() const {
    return EffectiveClip().IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::GetClipBox(RECT* rect) const {
    if (!backEnd_)
        return ERROR;
    const CRect c = EffectiveClip();
    if (rect) {
        CPoint corners[2] = {c.TopLeft(), c.BottomRight()};
        DPtoLP(corners, 2);
        *rect = CRect(corners[0], corners[1]);
    }
    return ClipResult();
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    if (!backEnd_)
        return ERROR;
    const CRect r = DevRect(left, top, right, bottom);
    const CRect current = EffectiveClip();
    state_.clip.IntersectRect(current, r);
    state_.clipped = true;
    ApplyClip();
    return ClipResult();
}

int CDC::IntersectClipRect(const RECT* rect) {
    return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}

int CDC::SelectClipRgn(CRgn* region) {
    return ExtSelectClipRgn(region, RGN_COPY);
}

int CDC::ExtSelectClipRgn(CRgn* region, int mode) {
    if (!backEnd_)
        return ERROR;
    if (!region || !region->GetSafeHandle()) {
        if (mode != RGN_COPY)
            return ERROR;
        state_.clipped = false;
        ApplyClip();
        return ClipResult();
    }
    CRect box;
    region->GetRgnBox(&box);
    const CRect current = EffectiveClip();
    switch (mode) {
    case RGN_AND:
        state_.clip.IntersectRect(current, box);
        break;
    case RGN_OR:
        state_.clip.UnionRect(current, box);
        break;
    default:
        state_.clip = box;
        break;
    }
    state_.clipped = true;
    ApplyClip();
    return ClipResult();
}
