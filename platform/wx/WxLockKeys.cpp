#include "platform/wx/WxLockKeys.h"

#include <gdk/gdk.h>

WxLockKeys::WxLockKeys(std::function<void()> changed) : changed_(std::move(changed)) {
    GdkDisplay* display = gdk_display_get_default();
    if (!display)
        return;
    GdkKeymap* keymap = gdk_keymap_get_for_display(display);
    keymap_ = keymap;
    handler_ =
        g_signal_connect(keymap, "state-changed", G_CALLBACK(&WxLockKeys::OnStateChanged), this);
}

WxLockKeys::~WxLockKeys() {
    if (keymap_ && handler_)
        g_signal_handler_disconnect(keymap_, handler_);
}

WxLockKeys::State WxLockKeys::Current() const {
    State state;
    if (auto* keymap = static_cast<GdkKeymap*>(keymap_)) {
        state.caps = gdk_keymap_get_caps_lock_state(keymap) != FALSE;
        state.num = gdk_keymap_get_num_lock_state(keymap) != FALSE;
        state.scroll = gdk_keymap_get_scroll_lock_state(keymap) != FALSE;
    }
    return state;
}

void WxLockKeys::OnStateChanged(void*, void* self) {
    if (const auto& changed = static_cast<WxLockKeys*>(self)->changed_)
        changed();
}
