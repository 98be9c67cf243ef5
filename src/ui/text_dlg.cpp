#include "ui/text_dlg.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "ui/dialog_units.h"

namespace zk {

namespace {

constexpr double kPixelsPerInch = 96.0;

}  // namespace

CTextDlg::CTextDlg(QWidget* parent) : QDialog(parent) {
    UseDialogFont(this);
    setWindowTitle(tr("Text"));
    setFixedSize(DialogUnits(this, 0, 0, 216, 63).size());

    m_edit = new QLineEdit(this);
    m_edit->setGeometry(DialogUnits(this, 5, 5, 145, 55));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(DialogUnits(this, 159, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CTextDlg::accept);
    auto* cancel = new QPushButton(tr("Storno"), this);
    cancel->setGeometry(DialogUnits(this, 159, 24, 50, 14));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CTextDlg::reject);
    m_font = new QPushButton(tr("&Písmo"), this);
    m_font->setGeometry(DialogUnits(this, 160, 45, 50, 14));
    m_font->setAutoDefault(false);
    connect(m_font, &QPushButton::clicked, this, &CTextDlg::OnFont);
}

bool CTextDlg::Ask(QWidget* parent, std::string& text, gdi::LogFont& font) {
    CTextDlg dlg(parent);
    dlg.m_pLogFont = &font;
    dlg.m_text = QString::fromStdString(text);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    text = dlg.m_text.toStdString();
    return true;
}

void CTextDlg::showEvent(QShowEvent* event) {
    if (!m_initialised) {
        m_initialised = true;
        m_edit->setText(m_text);
        m_edit->selectAll();
        m_edit->setFocus();
    }
    QDialog::showEvent(event);
}

void CTextDlg::accept() {
    m_text = m_edit->text();
    QDialog::accept();
}

QFont CTextDlg::ToQFont(const gdi::LogFont& lf) {
    QFont f(QString::fromStdString(lf.faceName));
    // The dialog lists sizes in points of the character height, the em.
    const gdi::Font font(lf);
    const int em = std::max(1, font.CellHeight() - font.InternalLeading());
    f.setPointSizeF(em * 72.0 / kPixelsPerInch);
    f.setWeight(static_cast<QFont::Weight>(std::clamp(lf.weight, 1, 1000)));
    f.setItalic(lf.italic);
    return f;
}

gdi::LogFont CTextDlg::FromQFont(const QFont& f) {
    gdi::LogFont lf;
    lf.faceName = f.family().toStdString();
    const double pixels =
        f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * kPixelsPerInch / 72.0;
    // A negative height asks for the character height, as the dialog's sizes mean.
    lf.height = -std::max(1, static_cast<int>(std::lround(pixels)));
    lf.width = 0;
    lf.weight = f.weight();
    lf.italic = f.italic();
    return lf;
}

void CTextDlg::OnFont() {
    if (!m_pLogFont)
        return;
    QFontDialog dlg(ToQFont(*m_pLogFont), this);
    dlg.setOption(QFontDialog::DontUseNativeDialog);
    dlg.setOption(QFontDialog::ScalableFonts);
    // Text on a map has no underline or strike-out: the dialog's effects group goes.
    for (QGroupBox* box : dlg.findChildren<QGroupBox*>())
        if (!box->findChildren<QCheckBox*>().isEmpty())
            box->hide();
    if (dlg.exec() == QDialog::Accepted)
        *m_pLogFont = FromQFont(dlg.selectedFont());
}

}  // namespace zk
