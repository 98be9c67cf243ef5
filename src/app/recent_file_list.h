// The four most recently used map files, most recent first, kept in the settings store.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace zk {

class RecentFileList {
  public:
    static constexpr int kSize = 4;

    void Load(QSettings& settings);
    void Save(QSettings& settings) const;
    // Puts the file first (moving it up if it is already listed); the oldest falls off.
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& Files() const { return m_files; }

  private:
    QStringList m_files;
};

}  // namespace zk
