#include "app/recent_file_list.h"

#include <QFileInfo>

namespace zk {

namespace {
const char* const kSection = "Recent File List";

QString Canonical(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.absoluteFilePath() : path;
}
}  // namespace

void RecentFileList::Load(QSettings& settings) {
    m_files.clear();
    settings.beginGroup(QString::fromLatin1(kSection));
    for (int i = 1; i <= kSize; ++i) {
        const QString f = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!f.isEmpty() && !m_files.contains(f))
            m_files.append(f);
    }
    settings.endGroup();
}

void RecentFileList::Save(QSettings& settings) const {
    settings.beginGroup(QString::fromLatin1(kSection));
    for (int i = 1; i <= kSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_files.size())
            settings.setValue(key, m_files[i - 1]);
        else
            settings.remove(key);
    }
    settings.endGroup();
}

void RecentFileList::Add(const QString& path) {
    const QString f = Canonical(path);
    m_files.removeAll(f);
    m_files.prepend(f);
    while (m_files.size() > kSize)
        m_files.removeLast();
}

void RecentFileList::Remove(const QString& path) {
    m_files.removeAll(path);
    m_files.removeAll(Canonical(path));
}

}  // namespace zk
