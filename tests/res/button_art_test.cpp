// The tool-bar pictures: well drawn, one for every button, all different, and sharp when doubled.
#include <gtest/gtest.h>

#include <QIcon>
#include <QPixmap>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "res/icons.h"
#include "res/pixel_art.h"
#include "res/resource.h"
#include "support/picture.h"

namespace {

using namespace zk::res;

// The buttons of the main tool bar and of the tool palette, in bar order.
const int kMainBarCommands[] = {
    ID_FILE_NEW,  ID_FILE_OPEN,    ID_FILE_SAVE,    ID_EDIT_CUT,
    ID_EDIT_COPY, ID_EDIT_PASTE,   ID_FILE_PRINT,   ID_EDIT_UNDO,
    ID_EDIT_REDO, ID_VIEW_ZOOMIN,  ID_VIEW_ZOOMOUT, ID_VIEW_ZOOMFIT,
    ID_VIEW_GRID, ID_GRID_SMALLER, ID_GRID_LARGER,  ID_APP_ABOUT,
};
const int kToolCommands[] = {
    ID_TOOL_TILES,   ID_TOOL_GRIDTILES, ID_TOOL_FREEHAND, ID_TOOL_LINES,   ID_TOOL_RECTANGLE,
    ID_TOOL_ELLIPSE, ID_TOOL_POLYGON,   ID_TOOL_TEXT,     ID_TOOL_SYMBOLS, ID_TOOL_SELECT,
};
const int kSizeSets[] = {IDR_SIZE_TILES, IDR_SIZE_LINES, IDR_SIZE_ROTATION};

bool IsOpaqueBlack(QRgb c) {
    return qAlpha(c) == 255 && (c & 0xFFFFFF) == 0;
}

int BlackPixelsInRow(const QImage& image, int y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += IsOpaqueBlack(image.pixel(x, y));
    return n;
}

TEST(ButtonArt, EveryPictureIs16By15InLegendCharacters) {
    ASSERT_FALSE(ButtonPictures().empty());
    for (const ButtonPicture& picture : ButtonPictures()) {
        SCOPED_TRACE(std::string(picture.name));
        for (std::size_t y = 0; y < picture.rows.size(); ++y) {
            const std::string_view row = picture.rows[y];
            EXPECT_EQ(row.size(), std::size_t(kButtonWidth)) << "row " << y << ": " << row;
            for (std::size_t x = 0; x < row.size(); ++x)
                EXPECT_TRUE(LegendColour(row[x]).has_value())
                    << "'" << row[x] << "' at (" << x << "," << y << ") is not in the legend";
        }
        EXPECT_EQ(RenderArt(picture.rows).size(), QSize(kButtonWidth, kButtonHeight));
    }
}

TEST(ButtonArt, TheTablesHoldExactlyTheBarsButtonsOnce) {
    std::set<std::pair<int, int>> expected;
    for (const int id : kMainBarCommands)
        expected.insert({IDR_MAINFRAME, id});
    for (const int id : kToolCommands)
        expected.insert({IDR_TOOLS, id});
    for (const int set : kSizeSets)
        for (int i = 0; i < 4; ++i)
            expected.insert({set, i});
    expected.insert({IDR_PATTERNBAR, ID_PATTERN_BUTTON});

    std::map<std::pair<int, int>, int> seen;
    for (const ButtonPicture& picture : ButtonPictures())
        ++seen[{picture.set, picture.key}];
    for (const auto& [key, count] : seen) {
        EXPECT_EQ(count, 1) << "set " << key.first << " key " << key.second << " drawn twice";
        EXPECT_TRUE(expected.count(key))
            << "set " << key.first << " key " << key.second << " belongs to no button";
    }
    for (const auto& key : expected)
        EXPECT_TRUE(seen.count(key))
            << "set " << key.first << " key " << key.second << " has no picture";
}

TEST(ButtonArt, EveryCommandAndSizeButtonHasAnIconOfItsOwn) {
    std::vector<std::pair<std::string, QImage>> images;
    for (const int id : kMainBarCommands)
        images.push_back({"command " + std::to_string(id), CommandImage(id)});
    for (const int id : kToolCommands)
        images.push_back({"tool " + std::to_string(id), CommandImage(id)});
    for (const int set : kSizeSets)
        for (int i = 0; i < 4; ++i)
            images.push_back({"size set " + std::to_string(set) + " button " + std::to_string(i),
                              SizeImage(set, i)});
    for (const auto& [name, image] : images) {
        SCOPED_TRACE(name);
        ASSERT_EQ(image.size(), QSize(kButtonWidth, kButtonHeight));
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) == 255;
        EXPECT_GT(opaque, 0) << "blank";
    }
    for (std::size_t i = 0; i < images.size(); ++i)
        for (std::size_t j = i + 1; j < images.size(); ++j)
            EXPECT_NE(images[i].second, images[j].second)
                << images[i].first << " looks like " << images[j].first;
}

TEST(ButtonArt, IconsExistOnlyForButtons) {
    for (const int id : kMainBarCommands)
        EXPECT_FALSE(CommandIcon(id).isNull()) << id;
    for (const int id : kToolCommands)
        EXPECT_FALSE(CommandIcon(id).isNull()) << id;
    for (const int set : kSizeSets)
        for (int i = 0; i < 4; ++i)
            EXPECT_FALSE(SizeIcon(set, i).isNull()) << set << " " << i;

    EXPECT_TRUE(CommandIcon(ID_FILE_SAVE_AS).isNull());  // a menu command without a button
    EXPECT_TRUE(CommandIcon(ID_SIZE_NONE).isNull());     // size buttons come from SizeIcon
    EXPECT_TRUE(CommandIcon(0).isNull());
    EXPECT_TRUE(SizeIcon(IDR_SIZE_LINES, 4).isNull());
    EXPECT_TRUE(SizeIcon(IDR_SIZE_LINES, -1).isNull());
    EXPECT_TRUE(SizeIcon(IDR_TOOLS, 0).isNull());  // not a size set, though it has pictures
    EXPECT_TRUE(SizeIcon(IDR_MAINFRAME, 0).isNull());
}

TEST(ButtonArt, ThePatternBarsButtonIsBlank) {
    const QImage image = CommandImage(ID_PATTERN_BUTTON);
    ASSERT_EQ(image.size(), QSize(kButtonWidth, kButtonHeight));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << "(" << x << "," << y << ")";
    EXPECT_FALSE(CommandIcon(ID_PATTERN_BUTTON).isNull());
}

// The icon holds the drawn picture and its double with every pixel repeated in a 2 x 2 block.
void ExpectSharpDouble(const QIcon& icon, const QImage& drawn) {
    const QImage one = icon.pixmap(QSize(kButtonWidth, kButtonHeight)).toImage();
    // What a bar of icon size 16 x 15 asks for on a double-density screen.
    const QImage two = icon.pixmap(QSize(kButtonWidth, kButtonHeight), 2.0).toImage();
    EXPECT_TRUE(zk_test::SameImage(drawn, one));
    ASSERT_EQ(two.size(), QSize(2 * kButtonWidth, 2 * kButtonHeight));
    QImage doubled(two.size(), QImage::Format_ARGB32);
    for (int y = 0; y < doubled.height(); ++y)
        for (int x = 0; x < doubled.width(); ++x)
            doubled.setPixel(x, y, drawn.pixel(x / 2, y / 2));
    EXPECT_TRUE(zk_test::SameImage(doubled, two));
}

TEST(ButtonArt, IconsHoldTheDrawingAndItsExactDouble) {
    for (const int id : kMainBarCommands) {
        SCOPED_TRACE(id);
        ExpectSharpDouble(CommandIcon(id), CommandImage(id));
    }
    for (const int id : kToolCommands) {
        SCOPED_TRACE(id);
        ExpectSharpDouble(CommandIcon(id), CommandImage(id));
    }
    for (const int set : kSizeSets) {
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(std::to_string(set) + " " + std::to_string(i));
            ExpectSharpDouble(SizeIcon(set, i), SizeImage(set, i));
        }
    }
    const QList<QSize> sizes = CommandIcon(ID_FILE_NEW).availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 15)));
    EXPECT_TRUE(sizes.contains(QSize(32, 30)));
}

TEST(ButtonArt, TileSizeButtonsShowGrowingSquares) {
    int previous = 0;
    for (int i = 0; i < 4; ++i) {
        const QImage image = SizeImage(IDR_SIZE_TILES, i);
        // The black square's side, measured along its top row.
        int side = 0;
        for (int y = 0; y < image.height() && side == 0; ++y)
            side = BlackPixelsInRow(image, y);
        EXPECT_GT(side, previous) << "button " << i;
        previous = side;
    }
}

TEST(ButtonArt, LineSizeButtonsShowADottedLineThenWiderPens) {
    const QImage dotted = SizeImage(IDR_SIZE_LINES, 0);
    const int middle = kButtonHeight / 2;
    EXPECT_NE(BlackPixelsInRow(dotted, middle), BlackPixelsInRow(dotted, middle + 1))
        << "the first line has no gaps";
    const int widths[] = {1, 3, 5};
    for (int i = 1; i < 4; ++i) {
        const QImage image = SizeImage(IDR_SIZE_LINES, i);
        EXPECT_EQ(BlackPixelsInRow(image, middle), widths[i - 1]) << "button " << i;
        EXPECT_EQ(BlackPixelsInRow(image, middle + 1), widths[i - 1]) << "button " << i;
    }
}

// A quarter turn counter-clockwise about the centre of the 16 x 16 square the picture sits in.
QImage TurnedCounterClockwise(const QImage& image) {
    QImage turned(image.size(), QImage::Format_ARGB32);
    turned.fill(0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 1; x < image.width(); ++x)
            turned.setPixel(y, kButtonWidth - 1 - x, image.pixel(x, y));
    return turned;
}

TEST(ButtonArt, RotationButtonsTurnTheFirstPictureCounterClockwise) {
    // The symbol turns counter-clockwise by a quarter per button: the thick edge, its top, moves
    // from the top to the left, the bottom and the right.
    QImage expected = SizeImage(IDR_SIZE_ROTATION, 0);
    EXPECT_EQ(BlackPixelsInRow(expected, 3), BlackPixelsInRow(expected, 2)) << "top not thick";
    for (int i = 1; i < 4; ++i) {
        expected = TurnedCounterClockwise(expected);
        EXPECT_TRUE(zk_test::SameImage(expected, SizeImage(IDR_SIZE_ROTATION, i)))
            << "button " << i;
    }
}

}  // namespace
