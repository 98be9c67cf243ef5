// The program's icons: tool-bar buttons and the program icon, drawn for ZK as pixel art. The
// QIcon functions need a QGuiApplication; the QImage ones do not.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace zk::res {

// The button image of a command of the main tool bar (IDR_MAINFRAME), the tool palette
// (IDR_TOOLS) or the pattern bar (ID_PATTERN_BUTTON, a blank image); a null icon for any other
// identifier. Each icon holds the 16 x 15 image and its 32 x 30 double with every pixel repeated,
// so a bar with icon size 16 x 15 shows sharp pixels on a double-density screen too.
QIcon CommandIcon(int commandId);

// The image of button `index` (0..3, the size commands ID_SIZE_NONE to ID_SIZE_LARGE) in the size
// bar's image set IDR_SIZE_TILES, IDR_SIZE_LINES or IDR_SIZE_ROTATION; a null icon for anything
// else. Built like CommandIcon.
QIcon SizeIcon(int imageSet, int index);

// The 16 x 15 images behind the two functions above; null images where they give null icons.
QImage CommandImage(int commandId);
QImage SizeImage(int imageSet, int index);

// The program icon at 16, 32, 48 and 64 pixels, for the main window.
QIcon AppIcon();

// The program icon `size` pixels square: as drawn at 16, 32 and 48, otherwise the largest drawing
// whose size divides `size`, enlarged by repeating pixels (64 and 128 come from the 32). A null
// image when no drawing divides `size`.
QImage AppIconImage(int size);

// Writes AppIconImage(size) to `path` as a PNG file. False when there is no such image or the file
// cannot be written.
bool WriteAppIconPng(const QString& path, int size);

}  // namespace zk::res
