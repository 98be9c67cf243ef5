#include "app/lock_keys.h"

#include <QGuiApplication>

#if ZK_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace zk {

LockKeys ReadLockKeys() {
    LockKeys keys;
#if ZK_HAVE_X11
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (Display* display = x11->display()) {
            unsigned state = 0;
            if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) == Success) {
                // The core keyboard's first three indicators are Caps, Num and Scroll Lock.
                keys.caps = (state & 1u) != 0;
                keys.num = (state & 2u) != 0;
                keys.scroll = (state & 4u) != 0;
            }
        }
    }
#endif
    return keys;
}

}  // namespace zk
