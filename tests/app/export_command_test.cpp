// zk --export OUT [--grid N] MAP, for scripts: understood from the arguments, and run as the
// program with no display at all, where it writes its file and says nothing, or says why not in
// one line and leaves nothing behind.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>

#include "app/zk_app.h"
#include "doc/bitmap_file.h"
#include "doc/png_file.h"
#include "support/picture.h"
#include "support/zk_program.h"

namespace {

using zk::CZKApp;

TEST(ExportCommandLine, OptionsAreTakenWithTheirValues) {
    const struct {
        QStringList args;
        QString file, exportTo;
        int grid;
        QString misuse;
    } cases[] = {
        {{"--export", "a.png", "m.bmp"}, "m.bmp", "a.png", 0, ""},
        {{"m.bmp", "--export=a.uvtt", "--grid", "24"}, "m.bmp", "a.uvtt", 24, ""},
        {{"--grid=1", "--export", "-odd.dd2vtt", "m.png"}, "m.png", "-odd.dd2vtt", 1, ""},
        {{"--export", "A.BMP", "--grid", "256", "m"}, "m", "A.BMP", 256, ""},
        {{"--export"}, "", "", 0, "--export needs the file to write"},
        {{"--export", "a.png"}, "", "a.png", 0, "--export needs the map to export"},
        {{"--export", "a.png", "--export", "b.png", "m"}, "", "a.png", 0, "--export given twice"},
        {{"--export", "a.txt", "m"},
         "",
         "a.txt",
         0,
         "cannot export to a.txt: the name must end in .png, .uvtt, .dd2vtt, .bmp or .pdf"},
        {{"--export", "a.png", "m", "n"}, "", "a.png", 0, "more than one map file: m, n"},
        {{"-p", "--export", "a.png", "m"}, "", "a.png", 0, "-p and --export cannot go together"},
        {{"--grid", "8", "m"}, "", "", 0, "--grid goes with --export"},
        {{"--export", "a.uvtt", "m", "--grid"}, "", "a.uvtt", 0, "--grid needs its step in pixels"},
        {{"--export", "a.uvtt", "--grid", "8", "--grid", "9", "m"},
         "",
         "a.uvtt",
         0,
         "--grid given twice"},
        {{"--export", "a.uvtt", "--grid", "257", "m"},
         "",
         "a.uvtt",
         0,
         "--grid needs a whole number of pixels from 1 to 256, not '257'"},
        {{"--export", "a.uvtt", "--grid=0", "m"},
         "",
         "a.uvtt",
         0,
         "--grid needs a whole number of pixels from 1 to 256, not '0'"},
        {{"--export", "a.uvtt", "--grid", "8.5", "m"},
         "",
         "a.uvtt",
         0,
         "--grid needs a whole number of pixels from 1 to 256, not '8.5'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(("zk " + c.args.join(' ')).toStdString());
        const CZKApp::CommandLine line = CZKApp::ParseCommandLine(c.args);
        EXPECT_EQ(line.exporting, c.args.join(' ').contains("--export"));
        EXPECT_TRUE(line.EndsByItself());
        EXPECT_EQ(line.misuse, c.misuse);
        EXPECT_EQ(line.exportTo, c.exportTo);
        if (c.misuse.isEmpty()) {
            EXPECT_EQ(line.file, c.file);
            EXPECT_EQ(line.grid, c.grid);
        }
    }
}

class ExportCommand : public zk_test::ZkProgram {
  protected:
    QString Path(const char* name) const { return home.filePath(QString::fromLatin1(name)); }
    void WriteMap(const char* name, const gdi::Bitmap& map) {
        ASSERT_TRUE(zk::WriteBitmapFile(Path(name).toStdString(), map));
    }
    QStringList Entries() const {
        return QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    // The grid step the program was last left with.
    void StoreGrid(int step) {
        QSettings store(home.filePath("config/ZK/ZK.conf"), QSettings::IniFormat);
        store.setValue("set/grid", step);
    }
};

gdi::Bitmap Sample() {
    return zk_test::Picture({"#.o.r.", "b..#..", "yy..#o", "......"});
}

TEST_F(ExportCommand, WritesTheFileWithNoDisplayAndSaysNothing) {
    WriteMap("map.bmp", Sample());
    StoreGrid(3);
    const struct {
        QStringList args;
        const char* out;
        int grid;  // in a Universal VTT file; 0 for a picture
    } cases[] = {
        {{"--export", "map.png", "map.bmp"}, "map.png", 0},
        {{"--export", "copy.bmp", "map.bmp"}, "copy.bmp", 0},
        {{"--export", "map.uvtt", "--grid", "16", "map.bmp"}, "map.uvtt", 16},
        {{"--export=table.dd2vtt", "map.bmp"}, "table.dd2vtt", 3},           // the stored step
        {{"--grid=2", "--export", "again.png", "map.png"}, "again.png", 0},  // from the PNG
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(("zk " + c.args.join(' ')).toStdString());
        const QStringList before = Entries();
        const Run run = RunZk(c.args, WithoutADisplay());
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        QStringList expected = before;
        if (!expected.contains(c.out))
            expected << c.out;
        expected.sort();
        EXPECT_EQ(Entries(), expected) << "only the file asked for is written";

        QFile written(Path(c.out));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        QByteArray picture = written.readAll();
        if (c.grid > 0) {
            const QJsonObject uvtt = QJsonDocument::fromJson(picture).object();
            EXPECT_EQ(uvtt["resolution"].toObject()["pixels_per_grid"].toInt(), c.grid);
            picture = QByteArray::fromBase64(uvtt["image"].toString().toLatin1());
        }
        const QImage image = QImage::fromData(picture);
        EXPECT_TRUE(zk_test::SamePixels(Sample(), zk_test::BitmapOfImage(image)));
    }
    // The settings are the user's: an export leaves them as they were.
    QSettings store(home.filePath("config/ZK/ZK.conf"), QSettings::IniFormat);
    EXPECT_EQ(store.allKeys(), QStringList{"set/grid"});
}

// The print at true scale as a PDF: its pages and their paper, with no display.
TEST_F(ExportCommand, APdfHoldsThePrintAtScaleOnThePaperAsked) {
    gdi::Bitmap map(640, 480, 32, gdi::kWhite);  // 40 x 30 cells of 16 pixels
    WriteMap("map.bmp", map);
    const struct {
        QStringList options;
        int pages;
        const char* mediaBox;  // the paper in points, upright or across
    } cases[] = {
        {{}, 1 + 6 * 3, "/MediaBox [0 0 595"},
        {{"--cell-mm", "25.4", "--paper", "A4", "--grid", "16"}, 1 + 6 * 3, "/MediaBox [0 0 595"},
        {{"--landscape"}, 1 + 4 * 5, "/MediaBox [0 0 842"},
        {{"--paper", "A3", "--overlap", "1"}, 1 + 4 * 3, "/MediaBox [0 0 842"},
        {{"--cell-mm", "10", "--paper", "letter"}, 1 + 3 * 2, "/MediaBox [0 0 612"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        QFile::remove(Path("map.pdf"));
        const Run run =
            RunZk(QStringList{"--export", "map.pdf"} + c.options + QStringList{"map.bmp"},
                  WithoutADisplay());
        ASSERT_TRUE(run.ended);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
        QFile pdf(Path("map.pdf"));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(pdf.readAll());
        EXPECT_EQ(text.count(QRegularExpression("/Type\\s*/Page[^s]")), c.pages);
        EXPECT_TRUE(text.contains(QLatin1String(c.mediaBox))) << "paper";
    }
}

TEST_F(ExportCommand, EachFailureSaysWhyInOneLineAndLeavesNoFile) {
    WriteMap("map.bmp", Sample());
    QFile junk(Path("junk.bmp"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a map");
    junk.close();
    gdi::Bitmap colourful(30, 20, 32, gdi::kWhite);
    for (int i = 0; i < 600; ++i)
        colourful.SetPixel(i % 30, i / 30, gdi::RGB(i & 255, i >> 8, 1));
    ASSERT_TRUE(zk::WritePngFile(Path("colourful.png").toStdString(), colourful));
    ASSERT_TRUE(QFile(Path("map.bmp")).copy(Path("file")));

    const struct {
        QStringList args;
        int status;
        QString line;
    } cases[] = {
        {{"--export", "out.png", "missing.bmp"},
         1,
         "cannot open missing.bmp: cannot open file: No such file or directory"},
        {{"--export", "out.png", "junk.bmp"},
         1,
         "cannot open junk.bmp: not a bitmap file (no BM signature)"},
        {{"--export", "out.jpg", "map.bmp"},
         2,
         "cannot export to out.jpg: the name must end in .png, .uvtt, .dd2vtt, .bmp or .pdf"},
        {{"--export", "out.pdf", "--overlap", "7", "map.bmp"}, 2, "--overlap is 0 to 3 cells"},
        {{"--export", "out.pdf", "--paper", "B5", "map.bmp"},
         2,
         "--paper is A4, A3, Letter or Legal"},
        {{"--export", "out.pdf", "--cell-mm", "0", "map.bmp"},
         2,
         "--cell-mm needs a cell size of 1 to 500 mm"},
        {{"--export", "no-folder/out.png", "map.bmp"},
         1,
         "cannot export to no-folder/out.png: cannot write file: No such file or directory"},
        {{"--export", "file/out.uvtt", "--grid", "16", "map.bmp"},
         1,
         "cannot export to file/out.uvtt: cannot write file: Not a directory"},
        {{"--export", "out.uvtt", "--grid", "none", "map.bmp"},
         2,
         "--grid needs a whole number of pixels from 1 to 256, not 'none'"},
        {{"--export", "out.png"}, 2, "--export needs the map to export"},
        {{"--export", "out.png", "--bogus", "map.bmp"}, 2, "unknown option --bogus"},
        {{"--export", "out.bmp", "colourful.png"},
         1,
         "cannot export to out.bmp: the map has 600 colours and a .bmp file keeps 256; export "
         "it as .png to keep them all"},
    };
    const QStringList before = Entries();
    for (const auto& c : cases) {
        SCOPED_TRACE(("zk " + c.args.join(' ')).toStdString());
        const Run run = RunZk(c.args, WithoutADisplay());
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, "zk: " + c.line + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Entries(), before) << "something was left behind";
    }
}

}  // namespace
