// "Nastavení": the grid size and the map's width and height. The overhanging-grid-edge flag is
// carried through unseen.
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace zk {

class CSettingsDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMinGrid = 1;
    static constexpr int kMaxGrid = 256;

    explicit CSettingsDlg(QWidget* parent = nullptr);

    // Fills the controls from the fields (an overgrid value outside 0..2 becomes 0), then runs
    // the dialog modally.
    int exec() override;
    // The filling step of exec alone, for callers that show the dialog themselves.
    void OnInitDialog();
    // Reads and checks the controls in the order grid, width, height. The first refused field is
    // reported, gets the focus and the dialog stays open with the fields unchanged; otherwise the
    // fields take the values and the dialog closes with OK.
    void accept() override;

    QLineEdit* GridEdit() const { return m_gridEdit; }
    QLineEdit* WidthEdit() const { return m_widthEdit; }
    QLineEdit* HeightEdit() const { return m_heightEdit; }
    QCheckBox* OvergridCheck() const { return m_overgridCheck; }
    QGroupBox* MapGroup() const { return m_mapGroup; }

    int m_grid = 0;
    int m_width = 0;
    int m_height = 0;
    int m_overgrid = 0;

  protected:
    // Tells the user why a field was refused: a warning box.
    virtual void ShowRefusal(const QString& message);

  private:
    void Refuse(QLineEdit* field, const QString& message);

    QLineEdit* m_gridEdit;
    QLineEdit* m_widthEdit;
    QLineEdit* m_heightEdit;
    QCheckBox* m_overgridCheck;
    QGroupBox* m_mapGroup;
};

}  // namespace zk
