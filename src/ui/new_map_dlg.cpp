#include "ui/new_map_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "ui/dialog_units.h"
#include "ui/validation.h"

namespace zk {

CNewMapDlg::CNewMapDlg(QWidget* parent) : QDialog(parent) {
    UseDialogFont(this);
    setWindowTitle(tr("Nová mapa"));
    setFixedSize(DialogUnits(this, 0, 0, 186, 95).size());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(DialogUnits(this, 129, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CNewMapDlg::accept);
    auto* cancel = new QPushButton(tr("Storno"), this);
    cancel->setGeometry(DialogUnits(this, 129, 24, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CNewMapDlg::reject);

    // Labels sit where they always have and grow to fit their text in the font at hand.
    auto label = [this](const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->move(DialogUnits(this, x, y, 0, 0).topLeft());
        l->adjustSize();
    };
    label(tr("Šířka:"), 10, 10);
    m_widthEdit = new QLineEdit(this);
    m_widthEdit->setGeometry(DialogUnits(this, 40, 10, 40, 12));
    label(tr("Výška:"), 10, 25);
    m_heightEdit = new QLineEdit(this);
    m_heightEdit->setGeometry(DialogUnits(this, 40, 25, 40, 12));
    label(tr("pixelů"), 85, 20);

    // Digits only, as the fields were made.
    for (QLineEdit* e : {m_widthEdit, m_heightEdit})
        e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
    setTabOrder(m_widthEdit, m_heightEdit);
}

int CNewMapDlg::exec() {
    m_widthEdit->setText(QString::number(m_width));
    m_heightEdit->setText(QString::number(m_height));
    m_widthEdit->setFocus();
    m_widthEdit->selectAll();
    return QDialog::exec();
}

void CNewMapDlg::accept() {
    const std::optional<int> height = ReadIntField(this, m_heightEdit);
    if (!height)
        return;
    const std::optional<int> width = ReadIntField(this, m_widthEdit);
    if (!width)
        return;
    // A map needs at least one pixel and fits the limits every map file is read with.
    QString why;
    if (QLineEdit* field = RefusedSizeField(*width, *height, m_widthEdit, m_heightEdit, why)) {
        RefuseField(this, field, why);
        return;
    }
    m_height = *height;
    m_width = *width;
    QDialog::accept();
}

}  // namespace zk
