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

QImage ImageOf(const gdi::Bitmap& bitmap, const gdi::Rect& part, int step) {
    QImage image((part.Width() + step - 1) / step, (part.Height() + step - 1) / step,
                 QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < image.height(); ++y) {
        const gdi::Color* from = bitmap.Row(part.top + y * step) + part.left;
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            to[x] = 0xFF000000u | from[x * step];
    }
    return image;
}

}  // namespace zk
