// Windows that draw their whole client area into a picture of their own (with our drawing layer)
// and put it on the screen as it is.
#pragma once

#include <QRect>

#include "gdi/bitmap.h"

class QWidget;

namespace zk {

// Sizes the picture to the window's client area and fills it with the window's face colour.
void ClearPicture(const QWidget& window, gdi::Bitmap& picture);
// For the window's paint event: the part of the picture it asks for, onto the screen.
void ShowPicture(QWidget& window, const gdi::Bitmap& picture, const QRect& area);

}  // namespace zk
