#pragma once
#include <functional>

// The keyboard's lock keys as the display last reported them. The display tells of every
// change as an event, whichever window has the focus, so nothing needs to ask it on a timer.
class WxLockKeys {
public:
    struct State {
        bool caps = false;
        bool num = false;
        bool scroll = false;
        bool operator==(const State&) const = default;
    };

    // `changed` runs on the main thread after any lock key changed.
    explicit WxLockKeys(std::function<void()> changed);
    ~WxLockKeys();
    WxLockKeys(const WxLockKeys&) = delete;
    WxLockKeys& operator=(const WxLockKeys&) = delete;

    // What the display last said; asks it nothing.
    State Current() const;

private:
    static void OnStateChanged(void* keymap, void* self);

    void* keymap_ = nullptr; // the display's, never ours to free
    unsigned long handler_ = 0;
    std::function<void()> changed_;
};
