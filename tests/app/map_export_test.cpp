// Maps in the formats people share them in, through the main window: the format a name or a
// filter chooses, a PNG map that stays a PNG, and the Export command with the Universal VTT file
// it writes for virtual tabletops.
#include "app/map_export.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/file_kind.h"
#include "app/frame_prompts.h"
#include "app/main_frame.h"
#include "doc/png_file.h"
#include "doc/uvtt_file.h"
#include "res/resource.h"
#include "support/frame_harness.h"
#include "support/picture.h"
#include "tools/tool_settings.h"

namespace {

using namespace zk::res;
using zk::MapFormat;

// The corners of the name rule the dialogs' answers go through (SaveDialogs has the rest).
TEST(FileKinds, TheNameChoosesTheFormatAndElseTheFilter) {
    const int bmp = static_cast<int>(MapFormat::Bmp), png = static_cast<int>(MapFormat::Png);
    const struct {
        const char* typed;
        int filter;    // -1: all map files together
        int fallback;  // the map's own format
        const char* path;
        int kind;
    } cases[] = {
        {"MAP.BMP", png, png, "MAP.BMP", bmp},
        {"map.txt", png, bmp, "map.txt", png},
        {"dir.png/map", bmp, png, "dir.png/map.bmp", bmp},
        {"dir/.png", bmp, png, "dir/.png", bmp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const zk::SaveChoice choice =
            zk::ChooseSaveFile(c.typed, zk::kMapKinds, c.filter, c.fallback);
        EXPECT_EQ(choice.path, QString::fromLatin1(c.path));
        EXPECT_EQ(choice.kind, c.kind);
    }
}

gdi::Bitmap Checks(int w, int h) {
    gdi::Bitmap map(w, h, 32, gdi::kWhite);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x / 3 + y / 2) % 3 == 0)
                map.SetPixel(x, y, (x + y) % 4 ? gdi::kBlack : zk_test::kRed);
    return map;
}

// The picture of a Universal VTT file, as a virtual tabletop decodes it.
QImage UvttPicture(const QJsonObject& uvtt) {
    const auto image = QByteArray::fromBase64Encoding(uvtt["image"].toString().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
    return image ? QImage::fromData(*image, "PNG") : QImage();
}

TEST(UniversalVtt, TheFileHoldsTheMapAndItsGrid) {
    const struct {
        int width, height, grid;
    } cases[] = {{672, 944, 16}, {100, 50, 16}, {10, 10, 3}, {1, 1, 256}, {37, 5, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " on " +
                     std::to_string(c.grid));
        const gdi::Bitmap map = Checks(c.width, c.height);
        zk::BitmapError error;
        const auto text = zk::BitmapToUvtt(map, c.grid, &error);
        ASSERT_TRUE(text) << error.message;
        QJsonParseError parse;
        const QJsonDocument json =
            QJsonDocument::fromJson(QByteArray::fromStdString(*text), &parse);
        ASSERT_EQ(parse.error, QJsonParseError::NoError) << parse.errorString().toStdString();
        const QJsonObject uvtt = json.object();
        QStringList keys = uvtt.keys();
        keys.sort();
        EXPECT_EQ(keys, (QStringList{"format", "image", "lights", "line_of_sight", "portals",
                                     "resolution"}));
        EXPECT_EQ(uvtt["format"].toDouble(), 0.3);
        const QJsonObject resolution = uvtt["resolution"].toObject();
        EXPECT_EQ(resolution["map_origin"].toObject(), (QJsonObject{{"x", 0}, {"y", 0}}));
        const QJsonObject size = resolution["map_size"].toObject();
        EXPECT_EQ(size["x"].toDouble(), static_cast<double>(c.width) / c.grid);
        EXPECT_EQ(size["y"].toDouble(), static_cast<double>(c.height) / c.grid);
        EXPECT_EQ(resolution["pixels_per_grid"].toInt(), c.grid);
        for (const char* empty : {"line_of_sight", "portals", "lights"})
            EXPECT_EQ(uvtt[empty].toArray(), QJsonArray()) << empty;
        EXPECT_TRUE(zk_test::SamePixels(map, zk_test::BitmapOfImage(UvttPicture(uvtt))));
    }
    zk::BitmapError error;
    EXPECT_FALSE(zk::BitmapToUvtt(Checks(4, 4), 0, &error));
    EXPECT_FALSE(error.message.empty());
}

// The real Save As and Export dialogs, answered as a user answers them: a filter chosen, a name
// typed. A name without an extension gets the filter's, and so its format.
TEST(SaveDialogs, TheFilterChosenGivesANameItsFormat) {
    const int bmp = static_cast<int>(MapFormat::Bmp), png = static_cast<int>(MapFormat::Png);
    const struct {
        bool exporting;
        int offered, filter;  // the filter chosen: a kind, or past them all map files together
        const char* typed;
        const char* written;
        int kind;
    } cases[] = {
        {false, bmp, png, "a", "a.png", png},    {false, png, bmp, "b", "b.bmp", bmp},
        {false, png, 2, "c", "c.png", png},      {false, bmp, png, "d.bmp", "d.bmp", bmp},
        {true, 0, 1, "e", "e.uvtt", 1},          {true, 1, 2, "f", "f.bmp", 2},
        {true, 0, 0, "g.dd2vtt", "g.dd2vtt", 1},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        QTimer::singleShot(20, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const QString filter = dialog->nameFilters().at(c.filter);
            dialog->selectNameFilter(filter);
            emit dialog->filterSelected(filter);
            dialog->setDirectory(dir.path());
            // Typed into the dialog's one name field, as a user types it.
            auto* name = dialog->findChild<QLineEdit*>();
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromLatin1(c.typed));
            static_cast<QDialog*>(dialog)->accept();  // the dialog's own check of the name
        });
        zk::FramePrompts prompts;
        int kind = c.offered;
        QString path;
        if (c.exporting) {
            path = prompts.AskExportPath(nullptr, "x", kind);
        } else {
            MapFormat format = static_cast<MapFormat>(c.offered);
            path = prompts.AskSavePath(nullptr, "x", format);
            kind = static_cast<int>(format);
        }
        EXPECT_EQ(path.toStdString(), dir.filePath(c.written).toStdString());
        EXPECT_EQ(kind, c.kind);
    }
}

using Frame = zk_test::FrameHarness;

bool IsPngFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(8);
    return zk::IsPngSignature({reinterpret_cast<const std::uint8_t*>(head.data()),
                               static_cast<std::size_t>(head.size())});
}

// A map of 300 colours: more than a bitmap file keeps.
gdi::Bitmap Colourful() {
    gdi::Bitmap map(200, 150, 32, gdi::kWhite);
    for (int i = 0; i < 299; ++i)
        map.SetPixel(i % 150, 10 + i / 150, gdi::RGB(i & 255, i >> 8, 40));
    return map;
}

// The way a user goes: a PNG named on the command line, painted on, saved with Ctrl+S: it is
// still a PNG, no colour was asked about, and another program reads the new pixels.
TEST(MainFrameFiles, APngFromTheCommandLineIsSavedBackAsAPngWithCtrlS) {
    QTemporaryDir dir;
    const QString file = dir.filePath("cave.png");
    ASSERT_TRUE(zk::WritePngFile(file.toStdString(), Colourful()));
    Frame f({file});
    ASSERT_TRUE(f.ok);
    f.frame()->show();
    QApplication::setActiveWindow(f.frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.frame()));
    f.view()->m_gridOn = 0;
    f.frame()->OnCommand(ID_TOOL_FREEHAND);
    f.Move(20, 100);
    f.Press(20, 100);
    f.Move(120, 130, Qt::LeftButton);
    f.Paint();
    f.Release(120, 130);
    f.Paint();
    ASSERT_FALSE(zk_test::SamePixels(Colourful(), f.doc().m_bitmap)) << "nothing was painted";
    ASSERT_TRUE(f.doc().IsModified());

    QTest::keyClick(f.view()->viewport(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(f.prompts->saveAsked, 0);
    EXPECT_TRUE(f.prompts->reduceAsked.isEmpty());
    EXPECT_FALSE(f.doc().IsModified());
    EXPECT_EQ(f.frame()->windowTitle(), "cave.png[*] - ZK");
    EXPECT_TRUE(IsPngFile(file));
    const QImage saved(file);
    ASSERT_FALSE(saved.isNull());
    EXPECT_TRUE(zk_test::SamePixels(f.doc().m_bitmap, zk_test::BitmapOfImage(saved)));
}

TEST(MainFrameFiles, ExportWritesElsewhereAndLeavesTheMapsOwnFile) {
    QTemporaryDir dir;
    Frame f;
    ASSERT_TRUE(f.ok);
    f.doc().m_bitmap = Colourful();
    f.doc().SetModifiedFlag(true);
    const QStringList recent = f.app.RecentFiles().Files();
    zk::ToolSettings::grid = 24;

    f.prompts->exportPath = dir.filePath("table");
    f.prompts->exportFilter = 1;  // Universal VTT
    f.frame()->OnCommand(ID_FILE_EXPORT);
    EXPECT_EQ(f.prompts->exportSuggested, QString::fromUtf8(zk::CZKDoc::kUntitledTitle));
    QFile uvtt(dir.filePath("table.uvtt"));
    ASSERT_TRUE(uvtt.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(uvtt.readAll()).object();
    EXPECT_EQ(json["resolution"].toObject()["pixels_per_grid"].toInt(), 24);
    EXPECT_TRUE(zk_test::SamePixels(Colourful(), zk_test::BitmapOfImage(UvttPicture(json))));
    // The map's own file, name and unsaved mark stay as they were.
    EXPECT_TRUE(f.doc().GetPathName().empty());
    EXPECT_TRUE(f.doc().IsModified());
    EXPECT_EQ(f.frame()->windowTitle(), QString::fromUtf8("Bez názvu[*] - ZK"));
    EXPECT_EQ(f.app.RecentFiles().Files(), recent);
    EXPECT_TRUE(f.prompts->reduceAsked.isEmpty());

    // The next export offers the format chosen last; a bitmap file asks about the colours.
    f.prompts->exportPath = dir.filePath("picture.bmp");
    f.prompts->exportFilter = -1;
    f.prompts->reduceAnswer = false;
    f.frame()->OnCommand(ID_FILE_EXPORT);
    EXPECT_EQ(f.prompts->exportOffered, (QList<int>{0, 1}));
    EXPECT_EQ(f.prompts->reduceAsked, QList<quint32>{300});
    EXPECT_FALSE(QFile::exists(dir.filePath("picture.bmp")));

    // A file that cannot be written is reported, and nothing else happens.
    f.prompts->exportPath = dir.filePath("no-folder/map.png");
    f.frame()->OnCommand(ID_FILE_EXPORT);
    ASSERT_EQ(f.prompts->errors.size(), 1);
    EXPECT_TRUE(f.prompts->errors[0].startsWith(QString::fromUtf8("Mapu nelze exportovat do ")))
        << f.prompts->errors[0].toStdString();
    EXPECT_TRUE(f.doc().IsModified());
    zk::ToolSettings::ResetToDefaults();
}

}  // namespace
