// The About box, "O programu ZK": the program's icon, name and version.
#pragma once

#include <QDialog>

namespace zk {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace zk
