// The state of the Caps Lock, Num Lock and Scroll Lock keys, for the status bar's indicators.
#pragma once

namespace zk {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Read from the keyboard's indicator lights where the window system tells them (X11); all off
// where it does not (for example on the offscreen platform).
LockKeys ReadLockKeys();

}  // namespace zk
