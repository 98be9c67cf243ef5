// "Tisk v měřítku": the cell size on paper (mm or inches), the paper through the printer's own
// page setup, whether pages are cut on grid lines, the overlap, and the pages that makes, shown
// before anything is printed.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "doc/page_layout.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace zk {

class CScaledPrintDlg : public QDialog {
    Q_OBJECT
  public:
    // What the options make on paper: the text shown, and how many pages (0: nothing prints).
    struct Summary {
        QString text;
        int pages = 0;
    };
    // `summary` says what the options give on the printer's paper as it is set up now;
    // `preview` shows every page. Both are the view's.
    CScaledPrintDlg(QPrinter& printer, std::function<Summary(const ScaledPrintOptions&)> summary,
                    std::function<void(const ScaledPrintOptions&)> preview,
                    QWidget* parent = nullptr);

    ScaledPrintOptions Options() const;
    void SetOptions(const ScaledPrintOptions& options);

    QDoubleSpinBox* CellEdit() const { return m_cell; }
    QComboBox* UnitBox() const { return m_unit; }
    QCheckBox* CutBox() const { return m_cut; }
    QSpinBox* OverlapEdit() const { return m_overlap; }
    QLabel* SummaryLabel() const { return m_summary; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* PreviewButton() const { return m_previewButton; }

  private:
    void UnitChanged();
    void Refresh();

    QPrinter& m_printer;
    std::function<Summary(const ScaledPrintOptions&)> m_summaryOf;
    std::function<void(const ScaledPrintOptions&)> m_preview;
    QDoubleSpinBox* m_cell;
    QComboBox* m_unit;
    QLabel* m_paper;
    QCheckBox* m_cut;
    QSpinBox* m_overlap;
    QLabel* m_summary;
    QPushButton* m_print;
    QPushButton* m_previewButton;
    int m_shownUnit = 0;  // 0 mm, 1 inches
};

}  // namespace zk
