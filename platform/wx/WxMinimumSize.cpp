#include "platform/wx/WxMinimumSize.h"

#include <wx/toplevel.h>

#include <gtk/gtk.h>

#include <algorithm>

WxMinimumSize::WxMinimumSize(wxTopLevelWindow& window) : window_(window) {
    if (GtkWidget* widget = window.GetHandle())
        handler_ = g_signal_connect(widget, "configure-event",
                                    G_CALLBACK(&WxMinimumSize::OnConfigure), this);
}

WxMinimumSize::~WxMinimumSize() {
    if (GtkWidget* widget = window_.GetHandle(); widget && handler_)
        g_signal_handler_disconnect(widget, handler_);
}

wxSize WxMinimumSize::LeastOf(wxWindow& window) {
    GtkWidget* widget = window.GetHandle();
    if (!widget)
        return window.GetBestSize();
    GtkRequisition least{};
    gtk_widget_get_preferred_size(widget, &least, nullptr);
    return wxSize(least.width, least.height);
}

int WxMinimumSize::OnConfigure(void*, void* event, void* self) {
    const auto* configure = static_cast<GdkEventConfigure*>(event);
    const wxSize minimum = static_cast<WxMinimumSize*>(self)->window_.GetMinSize();
    const int width = std::max(configure->width, minimum.x);
    const int height = std::max(configure->height, minimum.y);
    if (width == configure->width && height == configure->height)
        return FALSE;
    // The toolkit never hears of the smaller size: its own requests respect the minimum, so
    // this is never the answer it waits for, and the resize brings one it will hear.
    gdk_window_resize(configure->window, width, height);
    return TRUE;
}
