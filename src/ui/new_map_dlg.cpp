#include "ui/new_map_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "doc/bitmap_file.h"
#include "doc/zk_doc.h"
#include "ui/dialog_units.h"
#include "ui/validation.h"

namespace zk {

CNewMapDlg::CNewMapDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("Nová mapa"));
    setFixedSize(DialogUnits(this, 0, 0, 186, 95).size());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(DialogUnits(this, 129, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CNewMapDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(DialogUnits(this, 129, 24, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CNewMapDlg::reject);

    (new QLabel(QString::fromUtf8("Šířka:"), this))->setGeometry(DialogUnits(this, 10, 10, 25, 8));
    m_widthEdit = new QLineEdit(this);
    m_widthEdit->setGeometry(DialogUnits(this, 40, 10, 40, 12));
    (new QLabel(QString::fromUtf8("Výška:"), this))->setGeometry(DialogUnits(this, 10, 25, 25, 8));
    m_heightEdit = new QLineEdit(this);
    m_heightEdit->setGeometry(DialogUnits(this, 40, 25, 40, 12));
    (new QLabel(QString::fromUtf8("pixelů"), this))->setGeometry(DialogUnits(this, 85, 20, 30, 8));

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
    if (const std::string why = CZKDoc::CheckSize(*width, *height); !why.empty()) {
        RefuseField(this, *width < 1 || *width > kMaxBitmapSide ? m_widthEdit : m_heightEdit,
                    QString::fromStdString("The size cannot be used: " + why + "."));
        return;
    }
    m_height = *height;
    m_width = *width;
    QDialog::accept();
}

}  // namespace zk
