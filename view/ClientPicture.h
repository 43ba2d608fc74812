#pragma once
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/CRect.h"

#include <memory>

class ScreenBuffer;
class ViewOverlay;

// What the view's window shows: the visible part of the off-screen page with the overlay
// drawn over it, in client pixels. Client pixels outside the page take the workspace colour.
// The page itself is never drawn on, so the overlay costs no re-render.
class ClientPicture {
public:
    // Composes `area` (client pixels, cut to the client) of a client `client` in size whose
    // top-left corner shows page pixel `scroll`; the rest of the picture keeps what it had.
    // Null when the client is empty or too large to hold.
    RasterSurface* Compose(ScreenBuffer& page, CPoint scroll, CSize client,
                           const ViewOverlay& overlay, const CRect& area);
    CSize Size() const { return size_; }

private:
    bool Fit(CSize client);
    void CopyPage(ScreenBuffer& page, CPoint scroll, const CRect& area);

    std::unique_ptr<CDC> dc_;
    std::unique_ptr<CBitmap> bitmap_;
    CSize size_;
};
