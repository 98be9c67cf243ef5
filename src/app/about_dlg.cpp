#include "app/about_dlg.h"

#include "res/icons.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zk {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("O programu Tarvil"));
    auto* icon = new QLabel(this);
    icon->setPixmap(res::AppIcon().pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("ZK verze %1").arg(QStringLiteral(ZK_VERSION)), this);
    auto* line = new QLabel(QString::fromUtf8("Malování map na mřížce"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(line);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(text, 1);
    row->addWidget(ok, 0, Qt::AlignTop);
    setLayout(row);
    setFixedSize(sizeHint());
}

}  // namespace zk
