// The messages dialogs show when a field is refused, and the focus goes back to the field.
#pragma once

#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <optional>

#include "doc/zk_doc.h"
#include "ui/dialog_int.h"
#include "ui/reasons.h"

namespace zk {

// The platform's dialogs read at most this many characters of an integer field; whatever the
// user typed beyond them is not looked at.
inline constexpr int kIntFieldChars = 31;

inline QString NotAnIntegerMessage() {
    return QCoreApplication::translate("Validation", "Zadejte celé číslo.");
}
inline QString IntegerRangeMessage(int low, int high) {
    return QCoreApplication::translate("Validation", "Zadejte celé číslo od %1 do %2.")
        .arg(low)
        .arg(high);
}

// The field's integer by the stock rule, or nullopt; no message is shown.
inline std::optional<int> ParseIntField(const QLineEdit* field) {
    return ParseDialogInt(field->text().left(kIntFieldChars).toStdString());
}

inline void WarnAboutField(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("ZK"), message);
}

// The user corrects the refused field next, so it gets the focus with its text selected.
inline void FocusField(QLineEdit* field) {
    field->setFocus();
    field->selectAll();
}

inline void RefuseField(QWidget* parent, QLineEdit* field, const QString& message) {
    WarnAboutField(parent, message);
    FocusField(field);
}

// Null when a map can have the size width x height; otherwise the field the user should correct
// (the width when the width alone is at fault), with the reason in `message`.
inline QLineEdit* RefusedSizeField(int width, int height, QLineEdit* widthEdit,
                                   QLineEdit* heightEdit, QString& message) {
    const std::string why = CZKDoc::CheckSize(width, height);
    if (why.empty())
        return nullptr;
    message = QCoreApplication::translate("Validation", "Tuto velikost nelze použít: %1.")
                  .arg(TranslatedReason(why));
    return CZKDoc::CheckSize(width, 1).empty() ? heightEdit : widthEdit;
}

// The field's integer, or nullopt after telling the user "Please enter an integer.".
inline std::optional<int> ReadIntField(QWidget* parent, QLineEdit* field) {
    const std::optional<int> v = ParseIntField(field);
    if (!v)
        RefuseField(parent, field, NotAnIntegerMessage());
    return v;
}

}  // namespace zk
