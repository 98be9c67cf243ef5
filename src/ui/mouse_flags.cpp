#include "ui/mouse_flags.h"

#include <QMouseEvent>

#include "tools/map_tool.h"

namespace zk {

unsigned KeyStateFlags(const QMouseEvent* event) {
    return KeyStateFlags(event->buttons(), event->modifiers());
}

unsigned KeyStateFlags(Qt::MouseButtons b, Qt::KeyboardModifiers modifiers) {
    unsigned flags = 0;
    if (b & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (b & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (b & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (b & Qt::XButton1)
        flags |= MK_XBUTTON1;
    if (b & Qt::XButton2)
        flags |= MK_XBUTTON2;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

}  // namespace zk
