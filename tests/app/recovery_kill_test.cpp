// The store against a real crash: a child process paints through the main window's view and is
// killed with SIGKILL at random moments (right after a gesture is finished, while its step is
// being committed, after the commit, or anywhere). The map the next start would restore must be
// one the child had after a finished gesture: never older than the last one the child saw
// written, never newer than the last one it finished.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <cstdint>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "doc/bitmap_file.h"
#include "doc/recovery_store.h"
#include "gdi/dc.h"
#include "support/map_hash.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// What the child printed: the map's hash after each finished gesture, and the last gesture it
// finished and the last one it saw written.
struct ChildLog {
    std::map<int, std::uint64_t> hashes;
    int lastF = -1, lastD = -1;
    std::string text;

    // Returns the kind of line ('F', 'D', or 0 for anything else).
    char Take(const std::string& line) {
        text += line + "\n";
        std::istringstream in(line);
        char kind = 0;
        int n = -1;
        in >> kind >> n;
        if (!in)
            return 0;
        if (kind == 'F') {
            std::uint64_t hash = 0;
            in >> hash;
            hashes[n] = hash;
            lastF = n;
            return 'F';
        }
        if (kind == 'D') {
            lastD = n;
            return 'D';
        }
        return 0;
    }
};

enum class KillAt { AfterFinished, AfterWritten, AfterSleep };

TEST(RecoveryKill, EveryRestoreIsTheMapOfAGestureBetweenTheLastWrittenAndTheLastFinished) {
    constexpr int kRuns = 20;
    std::mt19937 rng(20);  // fixed, so that a failure comes back on the next run
    const auto pick = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    zk_test::TempDir root;
    // Half the runs start from a file, so that the store leans on it as its base.
    const std::string startFile = (root / "start.bmp").string();
    {
        gdi::Bitmap start(500, 400, 32, gdi::kWhite);
        gdi::DC dc(&start);
        for (int i = 0; i < 500; i += 37)
            dc.FillRect({i, 0, i + 3, 400}, gdi::Brush::Solid(gdi::RGB(0, 0, 200)));
        ASSERT_TRUE(zk::WriteBitmapFile(startFile, start));
    }

    int kills = 0, restored = 0, equal = 0, newest = 0, beforeWritten = 0, nothingToRestore = 0;
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const fs::path dir = root / ("run" + std::to_string(run));
        for (const char* sub : {"home", "data", "settings"})
            fs::create_directories(dir / sub);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), QString::fromStdString((dir / "home").string()));
        env.insert(QStringLiteral("XDG_DATA_HOME"),
                   QString::fromStdString((dir / "data").string()));
        env.insert(QStringLiteral("ZK_TEST_SETTINGS"),
                   QString::fromStdString((dir / "settings").string()));
        QStringList args{QString::number(rng())};
        if (run % 2)
            args << QString::fromStdString(startFile);

        const auto killAt = static_cast<KillAt>(pick(0, 2));
        const int afterLines = pick(1, 40);
        const int sleepMs = pick(0, 40);

        QProcess child;
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(QString::fromStdString(dir.string()));
        child.start(QStringLiteral(ZK_RECOVERY_CHILD), args);
        ASSERT_TRUE(child.waitForStarted(10000));
        ChildLog log;
        int lines = 0;
        bool killed = false;
        while (!killed) {
            if (!child.canReadLine() && !child.waitForReadyRead(10000))
                break;  // ended by itself, or silent for too long: the checks below say which
            while (!killed && child.canReadLine()) {
                const char kind = log.Take(child.readLine().trimmed().toStdString());
                ++lines;
                if (lines < afterLines)
                    continue;
                if ((killAt == KillAt::AfterFinished && kind == 'F') ||
                    (killAt == KillAt::AfterWritten && kind == 'D') ||
                    killAt == KillAt::AfterSleep) {
                    if (killAt == KillAt::AfterSleep)
                        QThread::msleep(static_cast<unsigned long>(sleepMs));
                    child.kill();
                    killed = true;
                }
            }
        }
        if (!killed)
            child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        // Whatever it printed before it died counts.
        for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
            if (!line.trimmed().isEmpty())
                log.Take(line.trimmed().toStdString());
        const std::string errors = child.readAllStandardError().toStdString();
        ASSERT_TRUE(killed) << "the child ended by itself or went silent\n" << log.text << errors;
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << log.text << errors;
        ++kills;
        ASSERT_GE(log.lastF, 0) << "the child finished no gesture\n" << log.text << errors;
        if (log.lastF > log.lastD)
            ++beforeWritten;

        // As the next start looks for it.
        std::vector<std::string> broken;
        const std::vector<zk::RecoveryStore::Info> orphans =
            zk::RecoveryStore::Orphans((dir / "data" / "ZK" / "recovery").string(), &broken);
        EXPECT_TRUE(broken.empty()) << broken.front();
        ASSERT_LE(orphans.size(), 1u);
        std::uint64_t hash = 0;
        if (orphans.empty()) {
            // Nothing unsaved was left: the map was as it started, as after gesture 0.
            ++nothingToRestore;
            hash = log.hashes.at(0);
        } else {
            zk::RecoveryStore::Info info;
            gdi::Bitmap map;
            std::string why;
            ASSERT_TRUE(zk::RecoveryStore::Read(orphans[0].file, info, map, &why)) << why;
            ++restored;
            hash = zk_test::MapHash(map);
        }
        int found = -1;
        for (int n = std::max(log.lastD, 0); n <= log.lastF; ++n)
            if (log.hashes.count(n) && log.hashes.at(n) == hash)
                found = n;
        EXPECT_GE(found, 0) << "the restored map is none of gestures " << log.lastD << " .. "
                            << log.lastF << "\n"
                            << log.text;
        if (found >= 0) {
            ++equal;
            newest += found == log.lastF;
        }
    }
    std::cout << "recovery kill test: " << kills << " kills, " << equal
              << " restores equal to a finished gesture (" << newest << " the newest; "
              << nothingToRestore << " with nothing unsaved left), " << beforeWritten
              << " killed before the last gesture's write was seen\n";
    RecordProperty("kills", kills);
    RecordProperty("restores_equal", equal);
    RecordProperty("restores_newest", newest);
    RecordProperty("stores_read", restored);
    RecordProperty("killed_before_written", beforeWritten);
    EXPECT_EQ(equal, kills);
}

}  // namespace
