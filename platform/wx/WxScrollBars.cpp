#include "platform/wx/WxScrollBars.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include <glib-object.h>
#endif

void KeepScrollBarsShown(wxWindow& window) {
#ifdef __WXGTK__
    // The window's handle is the GtkScrolledWindow around it when it has scroll bars.
    auto* handle = G_OBJECT(window.GetHandle());
    if (handle && g_object_class_find_property(G_OBJECT_GET_CLASS(handle), "overlay-scrolling"))
        g_object_set(handle, "overlay-scrolling", FALSE, nullptr);
#else
    (void)window;
#endif
}
