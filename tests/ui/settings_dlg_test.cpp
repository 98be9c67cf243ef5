// The settings dialog: what it shows, the order and texts of its refusals, and what it hands
// back on OK.
#include "ui/settings_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <array>
#include <string>
#include <tuple>
#include <utility>

#include "doc/zk_doc.h"
#include "ui/reasons.h"

namespace {

// Collects the refusals instead of showing message boxes.
class RecordingSettingsDlg : public zk::CSettingsDlg {
  public:
    RecordingSettingsDlg(int overgrid = 1) {
        m_grid = 16;
        m_width = 672;
        m_height = 944;
        m_overgrid = overgrid;
        OnInitDialog();
        show();
    }
    // Types into the fields (nullptr: as filled) and presses OK; true when the dialog closed.
    bool Confirm(const char* grid, const char* width = nullptr, const char* height = nullptr) {
        for (auto [edit, text] :
             {std::pair{GridEdit(), grid}, {WidthEdit(), width}, {HeightEdit(), height}})
            if (text)
                edit->setText(QString::fromUtf8(text));
        setResult(0);
        accept();
        return result() == Accepted && !isVisible();
    }
    QStringList refusals;

  protected:
    void ShowRefusal(const QString& message) override { refusals << message; }
};

// The program's own language; the English ones are the translation's.
const QString kNotInteger = QString::fromUtf8("Zadejte celé číslo.");
const QString kGridRange = QString::fromUtf8("Zadejte celé číslo od 1 do 256.");
QString SizeRefusal(int w, int h) {
    return QString::fromUtf8("Tuto velikost nelze použít: ") +
           zk::TranslatedReason(zk::CZKDoc::CheckSize(w, h)) + QLatin1Char('.');
}

TEST(SettingsDlg, ShowsTheFieldsAndHidesTheOvergridBox) {
    RecordingSettingsDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Nastavení"));
    EXPECT_EQ(dlg.GridEdit()->text() + dlg.WidthEdit()->text() + dlg.HeightEdit()->text(),
              QStringLiteral("16672944"));
    EXPECT_TRUE(dlg.OvergridCheck()->isHidden());
    EXPECT_FALSE(dlg.OvergridCheck()->isEnabled());
}

// The map's frame runs round its two fields with the title on its top line, and the dialog
// has no empty band below it.
TEST(SettingsDlg, TheMapFrameHoldsItsFieldsAndTheDialogEndsBelowIt) {
    RecordingSettingsDlg dlg;
    QGroupBox* group = dlg.MapGroup();
    QStyleOptionGroupBox opt;
    opt.initFrom(group);
    opt.text = group->title();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect frame =
        group->style()
            ->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxFrame, group)
            .translated(group->pos());
    const QRect title =
        group->style()
            ->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, group)
            .translated(group->pos());
    EXPECT_TRUE(title.top() < frame.top() && frame.top() < title.bottom())
        << "title " << title.top() << ".." << title.bottom() << ", frame top " << frame.top();
    for (QWidget* w :
         {static_cast<QWidget*>(dlg.WidthEdit()), static_cast<QWidget*>(dlg.HeightEdit())})
        EXPECT_TRUE(frame.adjusted(1, 1, -1, -1).contains(w->geometry()))
            << "a field on or outside the frame at y " << w->geometry().top();
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        const QRect r = label->geometry();
        if (r.top() > frame.top()) {
            EXPECT_TRUE(frame.adjusted(1, 1, -1, -1).contains(r)) << label->text().toStdString();
            EXPECT_GT(r.top(), title.bottom()) << label->text().toStdString();
        }
    }
    const int below = dlg.height() - frame.bottom();
    EXPECT_GT(below, 0);
    EXPECT_LT(below, 3 * dlg.fontMetrics().height()) << "an empty band below the frame";
}

// Each refusal: its message alone, the focus on its field, the dialog open, the fields kept.
TEST(SettingsDlg, RefusesInTheOrderGridWidthHeight) {
    struct Case {
        const char *grid, *width, *height;
        QString message;
        int field;  // 0 grid, 1 width, 2 height
    } const cases[] = {
        {"", "x", "y", kNotInteger, 0},
        {"0", "x", "y", kGridRange, 0},
        {"257", "1", "1", kGridRange, 0},
        {"16", "12x", "y", kNotInteger, 1},
        {"16", "12", "", kNotInteger, 2},
        {"16", "0", "-3", SizeRefusal(0, -3), 1},
        {"16", "5", " -5 ", SizeRefusal(5, -5), 2},
        {"16", "70000", "10", SizeRefusal(70000, 10), 1},
        {"16", "60000", "60000", SizeRefusal(60000, 60000), 2},
    };
    for (const Case& c : cases) {
        RecordingSettingsDlg dlg;
        ASSERT_FALSE(c.message.endsWith(": .")) << c.width << " x " << c.height;
        EXPECT_FALSE(dlg.Confirm(c.grid, c.width, c.height));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.refusals, QStringList{c.message});
        QLineEdit* field = std::array{dlg.GridEdit(), dlg.WidthEdit(), dlg.HeightEdit()}[c.field];
        EXPECT_EQ(dlg.focusWidget(), field) << c.grid << " " << c.width << " " << c.height;
        EXPECT_EQ(field->selectedText(), field->text());
        EXPECT_EQ(std::tuple(dlg.m_grid, dlg.m_width, dlg.m_height), std::tuple(16, 672, 944));
    }
}

TEST(SettingsDlg, OkHandsBackTheGridFromOneTo256AndTheSize) {
    RecordingSettingsDlg dlg;
    ASSERT_TRUE(dlg.Confirm("1", " 800\t", "+600"));
    EXPECT_EQ(std::tuple(dlg.m_grid, dlg.m_width, dlg.m_height), std::tuple(1, 800, 600));
    ASSERT_TRUE(dlg.Confirm("256"));
    EXPECT_EQ(dlg.m_grid, 256);
    EXPECT_TRUE(dlg.refusals.isEmpty());
}

TEST(SettingsDlg, OnlyTheFirst31CharactersOfAFieldAreRead) {
    RecordingSettingsDlg dlg;
    const std::string pad(28, ' ');
    ASSERT_TRUE(dlg.Confirm("16", ("100" + pad + "abc").c_str(), (pad + "  12").c_str()));
    EXPECT_EQ(dlg.m_width, 100);
    EXPECT_EQ(dlg.m_height, 1);
}

TEST(SettingsDlg, TheOvergridFlagPassesThroughAndOutOfRangeBecomesZero) {
    for (const auto& [in, out] : {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}}) {
        RecordingSettingsDlg dlg(in);
        ASSERT_TRUE(dlg.Confirm(nullptr));
        EXPECT_EQ(dlg.m_overgrid, out) << in;
    }
}

}  // namespace
