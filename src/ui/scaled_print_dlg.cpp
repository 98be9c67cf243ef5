#include "ui/scaled_print_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/dialog_units.h"

namespace zk {

namespace {

constexpr double kMmPerInch = 25.4;

QString PaperText(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    return QStringLiteral("%1, %2").arg(layout.pageSize().name(),
                                        layout.orientation() == QPageLayout::Landscape
                                            ? CScaledPrintDlg::tr("na šířku")
                                            : CScaledPrintDlg::tr("na výšku"));
}

}  // namespace

CScaledPrintDlg::CScaledPrintDlg(QPrinter& printer,
                                 std::function<Summary(const ScaledPrintOptions&)> summary,
                                 std::function<void(const ScaledPrintOptions&)> preview,
                                 QWidget* parent)
    : QDialog(parent),
      m_printer(printer),
      m_summaryOf(std::move(summary)),
      m_preview(std::move(preview)) {
    UseDialogFont(this);
    setWindowTitle(tr("Tisk v měřítku"));
    auto* form = new QFormLayout;

    m_cell = new QDoubleSpinBox(this);
    m_cell->setDecimals(2);
    m_unit = new QComboBox(this);
    m_unit->addItems({QStringLiteral("mm"), tr("palce")});
    auto* cellRow = new QHBoxLayout;
    cellRow->addWidget(m_cell);
    cellRow->addWidget(m_unit);
    form->addRow(tr("Buňka mřížky:"), cellRow);

    m_paper = new QLabel(this);
    auto* setup = new QPushButton(tr("Vzhled stránky..."), this);
    auto* paperRow = new QHBoxLayout;
    paperRow->addWidget(m_paper, 1);
    paperRow->addWidget(setup);
    form->addRow(tr("Papír:"), paperRow);

    m_cut = new QCheckBox(tr("Řezat na čarách mřížky"), this);
    form->addRow(QString(), m_cut);
    m_overlap = new QSpinBox(this);
    m_overlap->setRange(0, 3);
    // The word after the number takes the number's form: 1 buňka, 2 buňky, 0 buněk.
    const auto overlapSuffix = [this] {
        m_overlap->setSuffix(QLatin1Char(' ') +
                             tr("buněk", "after the overlap", m_overlap->value()));
    };
    overlapSuffix();
    connect(m_overlap, &QSpinBox::valueChanged, this, overlapSuffix);
    form->addRow(tr("Překryv:"), m_overlap);
    m_summary = new QLabel(this);
    m_summary->setWordWrap(true);
    form->addRow(tr("Stránky:"), m_summary);

    auto* buttons = new QDialogButtonBox(this);
    m_print = buttons->addButton(tr("Tisk"), QDialogButtonBox::AcceptRole);
    m_previewButton = buttons->addButton(tr("Náhled"), QDialogButtonBox::ActionRole);
    buttons->addButton(tr("Storno"), QDialogButtonBox::RejectRole);
    m_print->setDefault(true);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_previewButton, &QPushButton::clicked, this, [this] {
        if (m_preview)
            m_preview(Options());
        Refresh();
    });
    connect(setup, &QPushButton::clicked, this, [this] {
        QPageSetupDialog dialog(&m_printer, this);
        dialog.exec();
        Refresh();
    });
    connect(m_unit, &QComboBox::currentIndexChanged, this, [this] { UnitChanged(); });
    connect(m_cell, &QDoubleSpinBox::valueChanged, this, [this] { Refresh(); });
    connect(m_cut, &QCheckBox::toggled, this, [this] { Refresh(); });
    connect(m_overlap, &QSpinBox::valueChanged, this, [this] { Refresh(); });
    SetOptions(ScaledPrintOptions());
}

ScaledPrintOptions CScaledPrintDlg::Options() const {
    ScaledPrintOptions o;
    o.cellMm = m_shownUnit == 1 ? m_cell->value() * kMmPerInch : m_cell->value();
    o.cutOnGrid = m_cut->isChecked();
    o.overlapCells = m_overlap->value();
    return o;
}

void CScaledPrintDlg::SetOptions(const ScaledPrintOptions& options) {
    m_unit->blockSignals(true);
    m_unit->setCurrentIndex(0);
    m_unit->blockSignals(false);
    m_shownUnit = 0;
    m_cell->setRange(1, 500);
    m_cell->setSingleStep(0.5);
    m_cell->setValue(options.cellMm);
    m_cut->setChecked(options.cutOnGrid);
    m_overlap->setValue(options.overlapCells);
    Refresh();
}

void CScaledPrintDlg::UnitChanged() {
    // The same cell in the other unit: the value follows, the size on paper stays.
    const double mm = Options().cellMm;
    m_shownUnit = m_unit->currentIndex();
    const bool inches = m_shownUnit == 1;
    m_cell->blockSignals(true);
    m_cell->setRange(inches ? 1 / kMmPerInch : 1, inches ? 500 / kMmPerInch : 500);
    m_cell->setDecimals(inches ? 3 : 2);
    m_cell->setSingleStep(inches ? 0.125 : 0.5);
    m_cell->setValue(inches ? mm / kMmPerInch : mm);
    m_cell->blockSignals(false);
    Refresh();
}

void CScaledPrintDlg::Refresh() {
    m_paper->setText(PaperText(m_printer));
    const Summary summary = m_summaryOf ? m_summaryOf(Options()) : Summary{};
    m_summary->setText(summary.text);
    m_print->setEnabled(summary.pages > 0);
    m_previewButton->setEnabled(summary.pages > 0);
}

}  // namespace zk
