// Dialog layouts are given in dialog units: a quarter of the average character width across,
// an eighth of the character height down.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QWidget>

namespace zk {

// The dialogs were laid out for an 8-point font; in a larger one their labels would run into
// the fields beside them.
inline void UseDialogFont(QWidget* dialog) {
    QFont f = dialog->font();
    f.setPointSize(8);
    dialog->setFont(f);
}

inline QRect DialogUnits(const QWidget* w, int x, int y, int cx, int cy) {
    const QFontMetrics fm(w->font());
    const double bx = fm.averageCharWidth() / 4.0;
    const double by = fm.height() / 8.0;
    return QRect(static_cast<int>(x * bx), static_cast<int>(y * by), static_cast<int>(cx * bx),
                 static_cast<int>(cy * by));
}

}  // namespace zk
