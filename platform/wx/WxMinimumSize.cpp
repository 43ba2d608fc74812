#include "platform/wx/WxMinimumSize.h"

#include <wx/toplevel.h>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>

WxMinimumSize::WxMinimumSize(wxTopLevelWindow& window) : window_(window) {
    GtkWidget* widget = window.GetHandle();
    if (!widget)
        return;
    realizeHandler_ =
        g_signal_connect(widget, "realize", G_CALLBACK(&WxMinimumSize::OnRealize), this);
    Watch();
}

WxMinimumSize::~WxMinimumSize() {
    if (watched_)
        gdk_window_remove_filter(static_cast<GdkWindow*>(watched_),
                                 reinterpret_cast<GdkFilterFunc>(&WxMinimumSize::Filter), this);
    if (GtkWidget* widget = window_.GetHandle(); widget && realizeHandler_)
        g_signal_handler_disconnect(widget, realizeHandler_);
}

void WxMinimumSize::OnRealize(void*, void* self) {
    static_cast<WxMinimumSize*>(self)->Watch();
}

void WxMinimumSize::Watch() {
    GdkWindow* window = gtk_widget_get_window(window_.GetHandle());
    if (!window || window == watched_ || !GDK_IS_X11_WINDOW(window))
        return;
    if (watched_)
        gdk_window_remove_filter(static_cast<GdkWindow*>(watched_),
                                 reinterpret_cast<GdkFilterFunc>(&WxMinimumSize::Filter), this);
    gdk_window_add_filter(window, reinterpret_cast<GdkFilterFunc>(&WxMinimumSize::Filter), this);
    watched_ = window;
}

wxSize WxMinimumSize::LeastOf(wxWindow& window) {
    GtkWidget* widget = window.GetHandle();
    if (!widget)
        return window.GetBestSize();
    GtkRequisition least{};
    gtk_widget_get_preferred_size(widget, &least, nullptr);
    return wxSize(least.width, least.height);
}

int WxMinimumSize::Filter(void* xevent, void*, void* self) {
    const auto* event = static_cast<const XEvent*>(xevent);
    auto* me = static_cast<WxMinimumSize*>(self);
    if (event->type != ConfigureNotify ||
        event->xconfigure.window != GDK_WINDOW_XID(static_cast<GdkWindow*>(me->watched_)))
        return GDK_FILTER_CONTINUE;
    const wxSize minimum = me->window_.GetMinSize();
    const int width = std::max(event->xconfigure.width, minimum.x);
    const int height = std::max(event->xconfigure.height, minimum.y);
    if (width == event->xconfigure.width && height == event->xconfigure.height)
        return GDK_FILTER_CONTINUE;
    // The toolkit's own requests respect the minimum, so this is never the answer it waits
    // for; the resize brings one it will hear.
    gdk_window_resize(static_cast<GdkWindow*>(me->watched_), width, height);
    return GDK_FILTER_REMOVE;
}
