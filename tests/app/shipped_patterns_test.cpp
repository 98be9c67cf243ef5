// The pattern set shipped with the program, and the pattern folder of a user who has none yet.
#include "app/shipped_patterns.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <set>

#include "app/main_frame.h"
#include "app/zk_app.h"
#include "doc/bitmap_file.h"
#include "doc/pattern_library.h"
#include "support/picture.h"

namespace {

using zk::PatternLibrary;
using zk_test::SamePixels;

TEST(ShippedPatterns, EveryShippedFileReadsAsDrawn) {
    const QDir shipped(QStringLiteral(ZK_SHIPPED_PATTERNS));
    std::set<std::vector<gdi::Color>> seen;
    for (int i = 0; i < PatternLibrary::kCount; ++i) {
        for (const bool symbol : {false, true}) {
            const QString name = QStringLiteral("%1%2.bmp").arg(symbol ? "symbol" : "brush").arg(i);
            gdi::Bitmap b;
            ASSERT_TRUE(zk::ReadBitmapFile(shipped.filePath(name).toStdString(), b))
                << name.toStdString();
            const gdi::Bitmap drawn = symbol ? zk::ShippedSymbol(i) : zk::ShippedBrush(i);
            ASSERT_FALSE(drawn.IsNull()) << name.toStdString() << ": a slip in its drawing";
            EXPECT_EQ(b.Width(), symbol ? 16 : 8) << name.toStdString();
            EXPECT_EQ(b.Height(), symbol ? 16 : 8) << name.toStdString();
            QFile file(shipped.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray header = file.read(30);
            EXPECT_EQ(header.size() == 30 ? int(header[28]) : 0, symbol ? 1 : 8)
                << name.toStdString() << ": bits per pixel";
            std::vector<gdi::Color> pixels;
            for (int y = 0; y < b.Height(); ++y)
                for (int x = 0; x < b.Width(); ++x) {
                    pixels.push_back(b.GetPixel(x, y));
                    if (x < drawn.Width() && y < drawn.Height()) {
                        EXPECT_EQ(b.GetPixel(x, y), drawn.GetPixel(x, y))
                            << name.toStdString() << " at " << x << "," << y;
                    }
                }
            EXPECT_TRUE(seen.insert(pixels).second) << name.toStdString() << " repeats another";
        }
    }
    // The empty fill stays white.
    EXPECT_TRUE(zk_test::SameBitmap(gdi::Bitmap(8, 8, 32, gdi::kWhite), zk::ShippedBrush(0)));
    EXPECT_TRUE(zk::ShippedBrush(16).IsNull());
}

// Runs with HOME in an empty folder and the program started in another empty folder.
struct EmptyHome {
    EmptyHome() {
        saved = QDir::currentPath();
        savedHome = qgetenv("HOME");
        savedData = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        qunsetenv("XDG_DATA_HOME");
        QDir(home.path()).mkdir("work");
        QDir::setCurrent(home.filePath("work"));
        auto s = zk::CZKApp::OpenSettings();
        s->clear();
        s->sync();
    }
    ~EmptyHome() {
        QDir::setCurrent(saved);
        qputenv("HOME", savedHome);
        qputenv("XDG_DATA_HOME", savedData);
    }
    QString UserFolder() const { return home.filePath(".local/share/ZK/brush/"); }
    QTemporaryDir home;
    QString saved;
    QByteArray savedHome, savedData;
};

TEST(ShippedPatterns, AFirstRunFillsTheUsersFolderAndLaterRunsKeepItsFiles) {
    EmptyHome env;
    {
        zk::CZKApp app;
        ASSERT_TRUE(app.InitInstance({}));
        EXPECT_EQ(zk::g_patternLibrary.m_directory, env.UserFolder().toStdString());
        EXPECT_EQ(QDir(env.UserFolder()).entryList(QDir::Files).size(), 32);
        for (int i = 0; i < PatternLibrary::kCount; ++i) {
            EXPECT_TRUE(SamePixels(zk::ShippedBrush(i), zk::g_patternLibrary.m_brushes[i])) << i;
            EXPECT_TRUE(SamePixels(zk::ShippedSymbol(i), zk::g_patternLibrary.m_symbols[i])) << i;
        }
        app.MainFrame()->CloseWithoutAsking();
        app.ExitInstance();
    }
    // The user's own picture stays; a file the user took away comes back from the shipped set.
    gdi::Bitmap own(8, 8, 32, gdi::kBlack);
    ASSERT_TRUE(zk::WriteBitmapFile((env.UserFolder() + "brush3.bmp").toStdString(), own));
    ASSERT_TRUE(QFile::remove(env.UserFolder() + "symbol7.bmp"));
    zk::CZKApp app;
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_TRUE(SamePixels(own, zk::g_patternLibrary.m_brushes[3]));
    EXPECT_TRUE(SamePixels(zk::ShippedSymbol(7), zk::g_patternLibrary.m_symbols[7]));
    app.MainFrame()->CloseWithoutAsking();
    app.ExitInstance();
}

TEST(ShippedPatterns, AChosenFolderOrABrushFolderWhereTheProgramStartsComesFirst) {
    EmptyHome env;
    EXPECT_EQ(zk::CZKApp::PatternFolder(QStringLiteral("/maps/pat")), "/maps/pat");
    ASSERT_TRUE(QDir::current().mkdir("brush"));
    EXPECT_EQ(zk::CZKApp::PatternFolder(QString()), "") << "./brush/ as it always was";
    EXPECT_FALSE(QDir(env.UserFolder()).exists()) << "a user folder made although not used";
    ASSERT_TRUE(QDir::current().rmdir("brush"));
    EXPECT_EQ(zk::CZKApp::PatternFolder(QString()), env.UserFolder().toStdString());
}

}  // namespace
