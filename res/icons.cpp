#include "res/icons.h"

#include <QPixmap>
#include <algorithm>

#include "res/pixel_art.h"
#include "res/resource.h"

namespace zk::res {

namespace {

QImage ButtonImage(int set, int key) {
    for (const ButtonPicture& picture : ButtonPictures()) {
        if (picture.set == set && picture.key == key)
            return RenderArt(picture.rows);
    }
    return {};
}

QIcon ButtonIcon(const QImage& image) {
    if (image.isNull())
        return {};
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    icon.addPixmap(QPixmap::fromImage(ScalePixels(image, 2)));
    return icon;
}

bool IsSizeSet(int imageSet) {
    return imageSet == IDR_SIZE_TILES || imageSet == IDR_SIZE_LINES ||
           imageSet == IDR_SIZE_ROTATION;
}

}  // namespace

QImage CommandImage(int commandId) {
    for (const int set : {IDR_MAINFRAME, IDR_TOOLS, IDR_PATTERNBAR}) {
        QImage image = ButtonImage(set, commandId);
        if (!image.isNull())
            return image;
    }
    return {};
}

QImage SizeImage(int imageSet, int index) {
    if (!IsSizeSet(imageSet))
        return {};
    return ButtonImage(imageSet, index);
}

QIcon CommandIcon(int commandId) {
    return ButtonIcon(CommandImage(commandId));
}

QIcon SizeIcon(int imageSet, int index) {
    return ButtonIcon(SizeImage(imageSet, index));
}

QImage AppIconImage(int size) {
    if (size < 1)
        return {};
    const auto drawings = AppIconPictures();
    // Largest first: the enlargement with the most detail wins.
    for (auto it = drawings.rbegin(); it != drawings.rend(); ++it) {
        if (size % it->size == 0)
            return ScalePixels(RenderArt(it->rows), size / it->size);
    }
    return {};
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    return icon;
}

bool WriteAppIconPng(const QString& path, int size) {
    const QImage image = AppIconImage(size);
    return !image.isNull() && image.save(path, "PNG");
}

}  // namespace zk::res
