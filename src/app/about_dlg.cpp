#include "app/about_dlg.h"

#include "res/icons.h"
#include "res/menus.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zk {

namespace {

// The box is named as the menu item that opens it, so the two cannot come to name the program
// differently: the item's text without its mnemonic and the dots that promise a dialog.
QString CaptionOfItem(int id) {
    const res::MenuEntry* item = res::FindMenuItem(id);
    if (!item)
        return {};
    QString text = res::Tr(item->text);
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    return text;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(CaptionOfItem(res::ID_APP_ABOUT));
    auto* icon = new QLabel(this);
    icon->setPixmap(res::AppIcon().pixmap(32, 32));
    auto* name = new QLabel(tr("ZK verze %1").arg(QStringLiteral(ZK_VERSION)), this);
    auto* line = new QLabel(tr("Malování map na mřížce"), this);
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
