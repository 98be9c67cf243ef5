// Build-time helper: writes the shipped pattern set into DIR, to be installed with the program.
#include <QDir>
#include <QString>
#include <cstdio>

#include "app/shipped_patterns.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir) ||
        !zk::WriteShippedPatterns(QDir(dir).absolutePath().toStdString() + "/", true)) {
        std::fprintf(stderr, "%s: cannot write the patterns into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
