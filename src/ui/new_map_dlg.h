// "Nová mapa": the width and height of a new map.
#pragma once

#include <QDialog>

class QLineEdit;

namespace zk {

class CNewMapDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CNewMapDlg(QWidget* parent = nullptr);

    // Shows the fields preset from m_width and m_height.
    int exec() override;
    // Reads and checks the fields; on success m_width and m_height hold them and the dialog
    // closes with OK. A field that is no integer, or a size the map cannot have, is reported and
    // the dialog stays open on that field.
    void accept() override;

    QLineEdit* WidthEdit() const { return m_widthEdit; }
    QLineEdit* HeightEdit() const { return m_heightEdit; }

    int m_height = 0;
    int m_width = 0;

  private:
    QLineEdit* m_widthEdit;
    QLineEdit* m_heightEdit;
};

}  // namespace zk
