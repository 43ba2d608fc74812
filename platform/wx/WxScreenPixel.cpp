#include "platform/wx/WxScreenPixel.h"

#include <wx/utils.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

bool WxReadScreenPixel(int x, int y, COLORREF& color) {
    // A screen context of the toolkit keeps showing what the screen held when it was first
    // read, so the pixel comes straight from the server.
    const wxDisplayInfo info = wxGetDisplayInfo();
    if (info.type != wxDisplayX11 || !info.dpy)
        return false;
    Display* display = static_cast<Display*>(info.dpy);
    const Window root = DefaultRootWindow(display);
    XWindowAttributes screen;
    if (!XGetWindowAttributes(display, root, &screen))
        return false;
    // Outside the root window the server answers with an error, which the toolkit treats as fatal.
    if (x < 0 || y < 0 || x >= screen.width || y >= screen.height)
        return false;
    const auto destroy = [](XImage* image) { XDestroyImage(image); };
    std::unique_ptr<XImage, decltype(destroy)> image(
        XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap), destroy);
    if (!image)
        return false;
    XColor pixel{};
    pixel.pixel = XGetPixel(image.get(), 0, 0);
    XQueryColor(display, screen.colormap, &pixel);
    color = RGB(pixel.red >> 8, pixel.green >> 8, pixel.blue >> 8);
    return true;
}
