// Cut, copy and paste through the real clipboard (the offscreen platform's), with pictures as our
// own copies leave them and as other programs offer them.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>

#include "doc/bitmap_file.h"
#include "support/picture.h"
#include "tools/tool_settings.h"
#include "view_harness.h"

namespace {

using zk::ToolSettings;
using zk_test::BitmapOfImage;
using zk_test::Shows;
using zk_test::ViewHarness;

QClipboard* Clipboard() {
    return QGuiApplication::clipboard();
}

// A map with a 4 x 3 picture at (10, 10), lifted as a floating selection.
struct Lifted : ViewHarness {
    Lifted() {
        Clipboard()->clear();
        Select(zk::kSelectTool);
        view->m_gridOn = 0;
        doc.m_bitmap.SetPixel(10, 10, gdi::kBlack);
        doc.m_bitmap.SetPixel(13, 12, gdi::kBlack);
        doc.m_bitmap.SetPixel(11, 11, zk_test::kRed);
        Drag(10, 10, 14, 13);
        Paint();
    }
    zk::SelectTool& tool() { return view->m_selectTool; }
    void DropOutside() {
        Click(250, 150);
        Paint();
    }
};

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Offers the picture as another program does: encoded, under the format's own name only.
void OfferEncoded(const QByteArray& bytes, const char* mimeType) {
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(mimeType), bytes);
    Clipboard()->setMimeData(data);
}

TEST(ViewClipboard, CopyPutsASeparatePictureThereAndLeavesTheSelectionFloating) {
    Lifted h;
    EXPECT_FALSE(h.view->CanPaste());
    ASSERT_TRUE(h.view->CanCutOrCopy());
    ASSERT_TRUE(h.view->OnEditCopy());
    const QImage copied = Clipboard()->image();
    EXPECT_TRUE(Shows(BitmapOfImage(copied), {"#...", ".r..", "...#"}));
    EXPECT_TRUE(h.view->CanPaste());
    // Still floating; the place it was lifted from stays white until the drop.
    EXPECT_TRUE(h.view->CanCutOrCopy());
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 40, 40), 1600);

    // Changing the floating pixels afterwards does not reach the clipboard.
    h.tool().m_selBitmap.SetPixel(1, 0, gdi::kBlack);
    EXPECT_TRUE(Shows(BitmapOfImage(Clipboard()->image()), {"#...", ".r..", "...#"}));
    h.DropOutside();
    EXPECT_EQ(h.Map(11, 10), gdi::kBlack);
}

TEST(ViewClipboard, CutTakesThePixelsAwayAndLeavesWhite) {
    Lifted h;
    ASSERT_TRUE(h.view->OnEditCut());
    EXPECT_TRUE(Shows(BitmapOfImage(Clipboard()->image()), {"#...", ".r..", "...#"}));
    EXPECT_FALSE(h.view->CanCutOrCopy());
    h.Paint();
    EXPECT_EQ(h.CountMap(gdi::kWhite, 0, 0, 40, 40), 1600) << "the cut pixels came back";
    // Until a selection floats again; a band just released is lifted for the copy.
    h.Drag(20, 20, 30, 30);
    EXPECT_TRUE(h.view->OnEditCopy());
    EXPECT_EQ(Clipboard()->image().size(), QSize(10, 10));
}

TEST(ViewClipboard, PasteFloatsThePictureUnderThePointerAndMakesTheSelectToolCurrent) {
    ViewHarness h;
    h.view->m_gridOn = 0;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(1, 1, qRgb(255, 0, 0));
    Clipboard()->setImage(picture);
    // The select tool's own last point is far from where the user looks now.
    h.Select(zk::kSelectTool);
    h.Move(10, 10);
    h.Select(zk::kFreehandTool);
    h.Move(250, 150);
    h.doc.m_bitmap.SetPixel(252, 151, gdi::kBlack);
    int told = 0;
    h.view->m_onToolChanged = [&told] { ++told; };

    ASSERT_TRUE(h.view->OnEditPaste());
    zk::SelectTool& tool = h.view->m_selectTool;
    EXPECT_EQ(ToolSettings::tool, zk::kSelectTool);
    EXPECT_EQ(h.view->CurrentTool(), &tool);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(tool.m_selRect, (gdi::Rect{250, 150, 253, 152}));
    // Pasted before any press: it covers the map rather than being ANDed with it (the frame
    // runs over the top row and left column).
    h.Paint();
    EXPECT_EQ(h.Window(252, 151), gdi::kWhite);
    h.Click(0, 0);
    h.Paint();
    EXPECT_EQ(h.Map(252, 151), gdi::kWhite);
    EXPECT_EQ(h.Map(251, 151), zk_test::kRed);
}

TEST(ViewClipboard, APasteLandsWhatFloatedBeforeThePictureFloats) {
    Lifted h;
    QImage other(2, 2, QImage::Format_RGB32);
    other.fill(Qt::black);
    Clipboard()->setImage(other);
    h.Move(100, 100);
    ASSERT_TRUE(h.view->OnEditPaste());
    ASSERT_NE(h.tool().GetFloatingBitmap(), nullptr);
    EXPECT_TRUE(Shows(*h.tool().GetFloatingBitmap(), {"##", "##"}));
    // The lifted pixels are back where they floated, not lost under a white hole.
    EXPECT_EQ(h.Map(10, 10), gdi::kBlack);
    EXPECT_EQ(h.Map(13, 12), gdi::kBlack);
    EXPECT_EQ(h.Map(11, 11), zk_test::kRed);
    h.DropOutside();
    EXPECT_EQ(h.CountMap(gdi::kBlack, 100, 100, 102, 102), 4);
    EXPECT_EQ(h.CountMap(gdi::kBlack, 0, 0, 40, 40), 2);
}

TEST(ViewClipboard, PicturesOtherProgramsOfferArePasted) {
    QImage picture(4, 2, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    picture.setPixel(3, 1, qRgb(255, 0, 0));
    QImage translucent = picture;
    translucent.setPixel(1, 0, qRgba(0, 0, 0, 128));  // half black on white: grey
    translucent.setPixel(2, 0, qRgba(255, 0, 0, 0));  // nothing: white
    const struct {
        const char* mimeType;
        QByteArray bytes;
        const char* text;
    } offers[] = {
        {"image/png", Encoded(picture, "PNG"), "#...\n...r\n"},
        {"image/bmp", Encoded(picture.convertToFormat(QImage::Format_RGB32), "BMP"),
         "#...\n...r\n"},
        {"image/png", Encoded(translucent, "PNG"), "#?..\n...r\n"},
    };
    for (const auto& offer : offers) {
        Lifted h;
        OfferEncoded(offer.bytes, offer.mimeType);
        EXPECT_TRUE(h.view->CanPaste()) << offer.mimeType;
        h.Move(50, 50);
        ASSERT_TRUE(h.view->OnEditPaste()) << offer.mimeType;
        const gdi::Bitmap* floating = h.tool().GetFloatingBitmap();
        ASSERT_NE(floating, nullptr);
        EXPECT_EQ(zk_test::BitmapText(*floating), offer.text) << offer.mimeType;
        EXPECT_EQ(floating->GetPixel(3, 1), zk_test::kRed);
        if (offer.text[1] == '?') {
            EXPECT_EQ(floating->GetPixel(1, 0), gdi::RGB(127, 127, 127));
        }
    }

    // A JPEG is lossy: its colours come near the picture's.
    Lifted h;
    QImage blocks(16, 8, QImage::Format_RGB32);
    blocks.fill(Qt::white);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            blocks.setPixel(x, y, qRgb(0, 0, 0));
    OfferEncoded(Encoded(blocks, "JPEG"), "image/jpeg");
    ASSERT_TRUE(h.view->OnEditPaste());
    const gdi::Bitmap* floating = h.tool().GetFloatingBitmap();
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(floating->Width(), 16);
    EXPECT_LT(gdi::GetRValue(floating->GetPixel(3, 3)), 40);
    EXPECT_GT(gdi::GetRValue(floating->GetPixel(12, 3)), 215);
}

TEST(ViewClipboard, APictureLargerThanAMapIsRefusedAndNothingChanges) {
    Lifted h;
    const QImage wide(70000, 1, QImage::Format_Mono);
    ASSERT_FALSE(wide.isNull());
    for (const auto& [bytes, mimeType] :
         {std::pair{Encoded(wide, "PNG"), "image/png"}, std::pair{QByteArray(), ""}}) {
        if (mimeType[0])
            OfferEncoded(bytes, mimeType);
        else
            Clipboard()->setImage(wide);
        // What floats keeps floating.
        std::string why;
        EXPECT_FALSE(h.view->OnEditPaste(&why));
        EXPECT_NE(why.find("70000 x 1"), std::string::npos) << why;
        ASSERT_NE(h.tool().GetFloatingBitmap(), nullptr);
        EXPECT_EQ(h.tool().GetFloatingBitmap()->Width(), 4);
    }
    // Under another tool nothing floats afterwards, and that tool stays current.
    h.Select(zk::kFreehandTool);
    std::string why;
    EXPECT_FALSE(h.view->OnEditPaste(&why));
    EXPECT_EQ(ToolSettings::tool, zk::kFreehandTool);
    EXPECT_EQ(h.tool().GetFloatingBitmap(), nullptr);
    // No picture at all: nothing to say.
    Clipboard()->setText(QStringLiteral("text"));
    EXPECT_FALSE(h.view->CanPaste());
    why.clear();
    EXPECT_FALSE(h.view->OnEditPaste(&why));
    EXPECT_EQ(why, "");
}

TEST(ViewClipboard, SavingWhileASelectionFloatsStoresWhiteWhereItWasLifted) {
    Lifted h;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("map.bmp")).toStdString();
    ASSERT_TRUE(h.doc.OnSaveDocument(path));
    gdi::Bitmap saved;
    ASSERT_TRUE(zk::ReadBitmapFile(path, saved));
    int white = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            white += saved.GetPixel(x, y) == gdi::kWhite;
    EXPECT_EQ(white, 1600);
    EXPECT_NE(h.tool().GetFloatingBitmap(), nullptr) << "saving dropped the selection";
}

}  // namespace
