// The messages dialogs show when a field is refused, and the focus goes back to the field.
#pragma once

#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <optional>

#include "ui/dialog_int.h"

namespace zk {

inline void RefuseField(QWidget* parent, QLineEdit* field, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("ZK"), message);
    field->setFocus();
    field->selectAll();
}

// The field's integer, or nullopt after telling the user "Please enter an integer.".
inline std::optional<int> ReadIntField(QWidget* parent, QLineEdit* field) {
    const std::optional<int> v = ParseDialogInt(field->text().toStdString());
    if (!v)
        RefuseField(parent, field, QStringLiteral("Please enter an integer."));
    return v;
}

}  // namespace zk
