#include "tests/ui/XdoTool.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace xdo {

namespace {

// Asking the server anything is a round trip, so its answers are what it holds after
// everything the program sent before.
Display* Server() {
    return GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

unsigned HeldButtons(wxPoint* at = nullptr) {
    Window root = 0, child = 0;
    int x = -1, y = -1, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(Server(), DefaultRootWindow(Server()), &root, &child, &x, &y, &wx, &wy, &mask);
    if (at)
        *at = wxPoint(x, y);
    return mask;
}

} // namespace

bool Viewable(wxWindow& window) {
    wxWindow* top = wxGetTopLevelParent(&window);
    GtkWidget* topWidget = top ? top->GetHandle() : nullptr;
    GtkWidget* widget = window.GetHandle();
    GdkWindow* gdk = topWidget ? gtk_widget_get_window(topWidget) : nullptr;
    if (!window.IsShownOnScreen() || !gdk || !widget || !gtk_widget_get_mapped(widget))
        return false;
    XWindowAttributes attributes{};
    return XGetWindowAttributes(Server(), GDK_WINDOW_XID(gdk), &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

wxPoint Pointer() {
    wxPoint at;
    HeldButtons(&at);
    return at;
}

void ReleaseButtons() {
    const unsigned mask = HeldButtons();
    for (unsigned button = 1; button <= 5; ++button) {
        if (mask & (Button1Mask << (button - 1)))
            Run("mouseup " + std::to_string(button));
    }
}

void SyncWithServer() {
    XSync(Server(), False);
}

bool NothingPending() {
    return !gtk_events_pending() && !wxTheApp->HasPendingEvents();
}

bool InputHandled(int milliseconds) {
    SyncWithServer();
    // Passes of PumpUntil are 10 ms apart: three quiet ones span more than a frame.
    int quiet = 0;
    return PumpUntil(
        [&quiet] {
            const bool idle = NothingPending() && !wxTheApp->ProcessIdle();
            quiet = idle ? quiet + 1 : 0;
            return quiet >= 3;
        },
        milliseconds);
}

wxImage ServerImage(const wxRect& area) {
    wxImage image(area.width, area.height);
    Display* display = Server();
    XWindowAttributes root{};
    XGetWindowAttributes(display, DefaultRootWindow(display), &root);
    const wxRect inside = area.Intersect(wxRect(0, 0, root.width, root.height));
    if (inside.IsEmpty())
        return image;
    XImage* shot = XGetImage(display, DefaultRootWindow(display), inside.x, inside.y, inside.width,
                             inside.height, AllPlanes, ZPixmap);
    if (!shot)
        return image;
    for (int y = 0; y < inside.height; ++y) {
        for (int x = 0; x < inside.width; ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            image.SetRGB(inside.x - area.x + x, inside.y - area.y + y,
                         (pixel & shot->red_mask) >> 16, (pixel & shot->green_mask) >> 8,
                         pixel & shot->blue_mask);
        }
    }
    XDestroyImage(shot);
    return image;
}

} // namespace xdo
