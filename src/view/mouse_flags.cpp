#include "view/mouse_flags.h"

#include <QMouseEvent>

#include "view/map_tool.h"

namespace zk {

unsigned KeyStateFlags(const QMouseEvent* event) {
    unsigned flags = 0;
    const Qt::MouseButtons b = event->buttons();
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
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

}  // namespace zk
