// The program itself, run as a user or a script runs it: in a home of its own (settings, pattern
// folder), to its end or for a while.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include "app/shipped_patterns.h"

namespace zk_test {

class ZkProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("HOME", home.path());
        // A user who has run the program before: filling a new pattern folder takes a while
        // on a busy disk.
        const QString patterns = home.filePath("data/ZK/brush/");
        ASSERT_TRUE(QDir().mkpath(patterns));
        ASSERT_TRUE(zk::WriteShippedPatterns(patterns.toStdString(), true));
    }
    // A platform with a screen that nobody looks at, where a message box waits for ever; without
    // its plugin, the offscreen one (where the program shows no box at all).
    QProcessEnvironment OnAScreen() const {
        QProcessEnvironment screen = env;
        if (HaveAScreen()) {
            screen.insert("QT_QPA_PLATFORM", "vnc:size=320x240:port=0");
            // Qt's vnc plugin keeps memory it never frees; under the leak checker that alone
            // would end the program with a failure of its own. Our leaks are looked for in
            // every other run.
            const QString asan = screen.value("ASAN_OPTIONS");
            screen.insert("ASAN_OPTIONS", asan.isEmpty()
                                              ? QStringLiteral("detect_leaks=0")
                                              : asan + QStringLiteral(":detect_leaks=0"));
        }
        return screen;
    }
    static bool HaveAScreen() {
        return QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                             "/platforms/libqvnc.so");
    }
    // No display of any kind: no X server, no Wayland, no platform asked for.
    QProcessEnvironment WithoutADisplay() const {
        QProcessEnvironment bare = env;
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            bare.remove(name);
        return bare;
    }

    struct Run {
        bool ended = false;
        int status = -1;
        QString out, err;
    };
    // Runs the program to its end, or for a while: one that is still running then is ended.
    Run RunZk(const QStringList& args, const QProcessEnvironment& environment) {
        QProcess zk;
        zk.setProcessEnvironment(environment);
        zk.setWorkingDirectory(home.path());
        zk.start(ZK_BINARY, args);
        Run run;
        run.ended = zk.waitForFinished(20000);
        if (!run.ended) {
            zk.kill();
            zk.waitForFinished();
        }
        run.status = zk.exitStatus() == QProcess::NormalExit ? zk.exitCode() : -1;
        run.out = QString::fromLocal8Bit(zk.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(zk.readAllStandardError());
        return run;
    }
    // What the program itself wrote on stderr, from its first line on (the platform may speak
    // first).
    static QString OwnLines(const QString& err) {
        const qsizetype at = err.indexOf("zk: ");
        return at < 0 ? err : err.mid(at);
    }

    QTemporaryDir home;
    QProcessEnvironment env;
};

}  // namespace zk_test
