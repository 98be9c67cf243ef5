// Build-time helper: writes the program icon as PNG files for the desktop's icon theme,
// DIR/<size>x<size>/apps/zk.png for every size given.
#include <QDir>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "res/icons.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIR SIZE...\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!root.mkpath(folder) ||
            !zk::res::WriteAppIconPng(root.filePath(folder + QStringLiteral("/zk.png")), size)) {
            std::fprintf(stderr, "%s: cannot write the %s-pixel icon\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
