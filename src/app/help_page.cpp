#include "app/help_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zk {

namespace {

QString ExistingPage(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
}

}  // namespace

QString ShippedHelpPage() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString candidates[] = {
        programDir.filePath(QStringLiteral("../share/zk/help/index.html")),
        programDir.filePath(QStringLiteral("help/index.html")),
        QStringLiteral(ZK_BUILD_HELP_PAGE),
    };
    for (const QString& candidate : candidates) {
        const QString page = ExistingPage(candidate);
        if (!page.isEmpty())
            return page;
    }
    return {};
}

QString HelpPageToOpen() {
    const QString local = ExistingPage(QDir::current().filePath(QStringLiteral("help/index.html")));
    return local.isEmpty() ? ShippedHelpPage() : local;
}

}  // namespace zk
