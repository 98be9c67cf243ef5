#include "ui/settings_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <string>

#include "doc/zk_doc.h"
#include "ui/dialog_units.h"
#include "ui/validation.h"

namespace zk {

namespace {

// A label at its place, on the line of the field beside it (a field is 12 units tall); it grows
// to its text where our font is wider than the one the layout was made for, so no text is cut
// off.
void AddLabel(QWidget* dlg, const QString& text, int x, int y, int cx) {
    auto* label = new QLabel(text, dlg);
    QRect r = DialogUnits(dlg, x, y, cx, 12);
    r.setWidth(std::max(r.width(), label->sizeHint().width()));
    label->setGeometry(r);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent) {
    UseDialogFont(this);
    setWindowTitle(tr("Nastavení"));
    // The overhanging-edge box below the map's frame is never shown, so the dialog ends a
    // margin below the frame instead of leaving the box's place empty.
    setFixedSize(DialogUnits(this, 0, 0, 186, 77).size());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(DialogUnits(this, 129, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSettingsDlg::accept);
    auto* cancel = new QPushButton(tr("Storno"), this);
    cancel->setGeometry(DialogUnits(this, 129, 24, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CSettingsDlg::reject);

    AddLabel(this, tr("Velikost mřížky:"), 10, 15, 50);
    m_gridEdit = new QLineEdit(this);
    m_gridEdit->setGeometry(DialogUnits(this, 70, 15, 40, 12));
    // The grid field takes digits only; width and height take any text and are checked on OK.
    m_gridEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), m_gridEdit));

    m_mapGroup = new QGroupBox(tr("Mapa"), this);
    m_mapGroup->setGeometry(DialogUnits(this, 5, 30, 85, 40));
    // The title sits on the frame's top line and the frame runs round the fields, as the
    // layout was drawn; Qt's own styles put the title above the frame and the fields on it.
    m_mapGroup->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0 2px; }"));
    m_mapGroup->lower();
    AddLabel(this, tr("Šířka:"), 10, 40, 20);
    m_widthEdit = new QLineEdit(this);
    m_widthEdit->setGeometry(DialogUnits(this, 40, 40, 45, 12));
    AddLabel(this, tr("Výška:"), 10, 55, 22);
    m_heightEdit = new QLineEdit(this);
    m_heightEdit->setGeometry(DialogUnits(this, 40, 55, 45, 12));

    m_overgridCheck = new QCheckBox(tr("Přesahující okraj mřížky"), this);
    m_overgridCheck->setGeometry(DialogUnits(this, 5, 80, 92, 10));
    // Three states, so that every value the field may hold (0, 1, 2) comes back as it went in.
    m_overgridCheck->setTristate(true);
    m_overgridCheck->setVisible(false);
    m_overgridCheck->setEnabled(false);

    setTabOrder(m_gridEdit, m_widthEdit);
    setTabOrder(m_widthEdit, m_heightEdit);
}

void CSettingsDlg::OnInitDialog() {
    m_gridEdit->setText(QString::number(m_grid));
    m_widthEdit->setText(QString::number(m_width));
    m_heightEdit->setText(QString::number(m_height));
    if (m_overgrid < 0 || m_overgrid > 2)
        m_overgrid = 0;
    m_overgridCheck->setCheckState(m_overgrid == 1   ? Qt::Checked
                                   : m_overgrid == 2 ? Qt::PartiallyChecked
                                                     : Qt::Unchecked);
    m_gridEdit->setFocus();
    m_gridEdit->selectAll();
}

int CSettingsDlg::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void CSettingsDlg::ShowRefusal(const QString& message) {
    WarnAboutField(this, message);
}

void CSettingsDlg::Refuse(QLineEdit* field, const QString& message) {
    ShowRefusal(message);
    FocusField(field);
}

void CSettingsDlg::accept() {
    const std::optional<int> grid = ParseIntField(m_gridEdit);
    if (!grid)
        return Refuse(m_gridEdit, NotAnIntegerMessage());
    if (*grid < kMinGrid || *grid > kMaxGrid)
        return Refuse(m_gridEdit, IntegerRangeMessage(kMinGrid, kMaxGrid));
    const std::optional<int> width = ParseIntField(m_widthEdit);
    if (!width)
        return Refuse(m_widthEdit, NotAnIntegerMessage());
    const std::optional<int> height = ParseIntField(m_heightEdit);
    if (!height)
        return Refuse(m_heightEdit, NotAnIntegerMessage());
    // The map is resized to these on OK: a size the map cannot have is refused here, where the
    // user can still correct it, and on the field that is at fault.
    QString why;
    if (QLineEdit* field = RefusedSizeField(*width, *height, m_widthEdit, m_heightEdit, why))
        return Refuse(field, why);

    m_grid = *grid;
    m_width = *width;
    m_height = *height;
    switch (m_overgridCheck->checkState()) {
        case Qt::Unchecked:
            m_overgrid = 0;
            break;
        case Qt::Checked:
            m_overgrid = 1;
            break;
        case Qt::PartiallyChecked:
            m_overgrid = 2;
            break;
    }
    QDialog::accept();
}

}  // namespace zk
