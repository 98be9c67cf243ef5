// The key-state flags of a mouse event, as the tools and editors expect them.
#pragma once

#include <QtCore/qnamespace.h>

class QMouseEvent;

namespace zk {

// MK_LBUTTON, MK_RBUTTON, MK_MBUTTON, MK_XBUTTON1/2 for the buttons held, MK_SHIFT and
// MK_CONTROL for the keys.
unsigned KeyStateFlags(const QMouseEvent* event);
unsigned KeyStateFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

}  // namespace zk
