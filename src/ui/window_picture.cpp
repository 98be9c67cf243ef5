#include "ui/window_picture.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "gdi/dc.h"

namespace zk {

void ClearPicture(const QWidget& window, gdi::Bitmap& picture) {
    const int w = window.width();
    const int h = window.height();
    if (picture.Width() != w || picture.Height() != h)
        picture = gdi::Bitmap(w, h);
    gdi::DC dc(&picture);
    const gdi::Color face = window.palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    dc.FillRect(picture.Bounds(), gdi::Brush::Solid(face));
}

void ShowPicture(QWidget& window, const gdi::Bitmap& picture, const QRect& area) {
    // 0x00RRGGBB is the layout of RGB32: the picture goes to the screen as it is.
    const QImage image(reinterpret_cast<const uchar*>(picture.Data()), picture.Width(),
                       picture.Height(), picture.Width() * 4, QImage::Format_RGB32);
    QPainter painter(&window);
    painter.drawImage(area, image, area);
}

}  // namespace zk
