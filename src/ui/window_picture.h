// Windows that draw their whole client area into a picture of their own (with our drawing layer)
// and put it on the screen as it is.
#pragma once

#include <QImage>
#include <QRect>

#include "gdi/bitmap.h"

class QWidget;

namespace zk {

// Sizes the picture to the window's client area and fills it with the window's face colour.
void ClearPicture(const QWidget& window, gdi::Bitmap& picture);
// For the window's paint event: the part of the picture it asks for, onto the screen.
void ShowPicture(QWidget& window, const gdi::Bitmap& picture, const QRect& area);

// The bitmap's pixels [part) as an image of its own, opaque, one pixel in every `step` across and
// down; a null image when there is no memory for it.
QImage ImageOf(const gdi::Bitmap& bitmap, const gdi::Rect& part, int step = 1);

}  // namespace zk
