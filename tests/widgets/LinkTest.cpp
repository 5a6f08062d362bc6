#include "tests/widgets/Fakes.h"
#include "widgets/LinkLabel.h"
#include "widgets/ListView.h"

#include <QApplication>
#include <QEnterEvent>
#include <QHeaderView>
#include <QTest>

#include <gmock/gmock.h>

#include <ostream>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(LinkLabel, LeftClickOpensTheAddressNotTheCaption) {
    TRecordingShellOpener shell;
    TLinkLabel label(shell);
    label.SetCaption("Cheap \x80 hosting");
    label.SetURL("http://sponsor.example/?a=1&b=\"2\"");
    label.resize(200, 20);
    label.show();

    QTest::mouseClick(&label, Qt::RightButton);
    EXPECT_THAT(shell.Opened, IsEmpty());
    QTest::mouseClick(&label, Qt::LeftButton);
    EXPECT_THAT(shell.Opened, ElementsAre("http://sponsor.example/?a=1&b=\"2\""));
    EXPECT_EQ(label.text(), QString::fromUtf8("Cheap \xe2\x82\xac hosting"));
}

TEST(LinkLabel, ReleaseOutsideIsNoClick) {
    TRecordingShellOpener shell;
    TLinkLabel label(shell);
    label.SetURL("http://sponsor.example/");
    label.resize(200, 20);
    label.show();
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(300, 5));
    EXPECT_THAT(shell.Opened, IsEmpty());
}

TEST(LinkLabel, LooksLikeALinkAndLightsUpWhileHovered) {
    TRecordingShellOpener shell;
    TLinkLabel label(shell);
    label.SetCaption("Google");
    label.show();
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    const QColor normal = label.palette().color(label.foregroundRole());

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&label, &enter);
    EXPECT_TRUE(label.Highlighted());
    EXPECT_EQ(label.palette().color(label.foregroundRole()), QColor(Qt::blue));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &leave);
    EXPECT_FALSE(label.Highlighted());
    EXPECT_EQ(label.palette().color(label.foregroundRole()), normal);
}

struct TLinkTextCase {
    const char *text;
    bool link;
};

// Names the case in test listings.
void PrintTo(const TLinkTextCase &c, std::ostream *os) {
    *os << '"' << c.text << '"';
}

class LinkCellTextTest : public ::testing::TestWithParam<TLinkTextCase> {};

TEST_P(LinkCellTextTest, Classifies) {
    EXPECT_EQ(IsLinkCellText(QString::fromLatin1(GetParam().text)), GetParam().link) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(ListView, LinkCellTextTest,
                         ::testing::Values(TLinkTextCase{"http://forum.example", true},
                                           TLinkTextCase{"ftp://files.example", true},
                                           TLinkTextCase{"see http://x in the middle", true},
                                           TLinkTextCase{"mailto:admin@forum.example", true},
                                           TLinkTextCase{"MAILTO:admin@forum.example", false},
                                           TLinkTextCase{"<a href=\"http://x\">x</a>", false},
                                           TLinkTextCase{"Gardening forum", false},
                                           TLinkTextCase{"12", false}, TLinkTextCase{"", false}));

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        FList.SetColumns({{QStringLiteral("Pos"), 40},
                          {QStringLiteral("Title"), 300},
                          {QStringLiteral("URL Domain"), 300},
                          {QStringLiteral("Keyword used"), 150}});
        FList.resize(820, 200);
        FList.AddRow({QStringLiteral("1"), QStringLiteral("Gardening forum"),
                      QStringLiteral("http://garden.example"), QStringLiteral("roses")});
        FList.AddRow({QStringLiteral("2"), QStringLiteral("Mail us"),
                      QStringLiteral("mailto:admin@forum.example"), QStringLiteral("roses")});
        FList.show();
        QApplication::processEvents();
    }

    QWidget *Viewport() { return FList.viewport(); }

    TRecordingShellOpener FShell;
    TSkinListView FList{FShell};
};

TEST_F(ListViewTest, IsAReadOnlyReportWithFixedRows) {
    EXPECT_TRUE(FList.showGrid());
    EXPECT_EQ(FList.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(FList.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(FList.isSortingEnabled());
    EXPECT_FALSE(FList.horizontalHeader()->sectionsClickable());
    EXPECT_FALSE(FList.verticalHeader()->isVisible());
    EXPECT_EQ(FList.rowHeight(0), 20);
    EXPECT_EQ(FList.rowHeight(1), 20);
    EXPECT_FALSE(FList.item(0, 1)->flags() & Qt::ItemIsEditable);

    FList.ClearRows();
    EXPECT_EQ(FList.rowCount(), 0);
    EXPECT_EQ(FList.columnCount(), 4);
}

TEST_F(ListViewTest, LeftClickOnALinkCellOpensItsText) {
    const QRect web = FList.LinkRect(0, 2);
    const QRect mail = FList.LinkRect(1, 2);
    ASSERT_FALSE(web.isEmpty());
    ASSERT_FALSE(mail.isEmpty());

    QTest::mouseClick(Viewport(), Qt::RightButton, {}, web.center());
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, web.center());
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, mail.center());
    EXPECT_THAT(FShell.Opened, ElementsAre("http://garden.example", "mailto:admin@forum.example"));
    // The click still selects the row, as anywhere in the list.
    EXPECT_EQ(FList.currentRow(), 1);
}

TEST_F(ListViewTest, OtherCellsAndTheBlankAfterALinkOpenNothing) {
    EXPECT_TRUE(FList.LinkRect(0, 1).isEmpty());
    const QRect title = FList.visualRect(FList.model()->index(0, 1));
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, title.center());

    const QRect cell = FList.visualRect(FList.model()->index(0, 2));
    const QRect link = FList.LinkRect(0, 2);
    ASSERT_LT(link.right() + 10, cell.right());
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 5, cell.center().y()));

    // Pressed on one link, released on another: no click.
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, link.center());
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, FList.LinkRect(1, 2).center());
    EXPECT_THAT(FShell.Opened, IsEmpty());
}

TEST_F(ListViewTest, HandCursorOnlyOverTheLinkText) {
    const auto moveTo = [this](QPoint position) {
        QMouseEvent move(QEvent::MouseMove, position, Viewport()->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &move);
        return Viewport()->cursor().shape();
    };
    EXPECT_EQ(moveTo(FList.LinkRect(0, 2).center()), Qt::PointingHandCursor);
    EXPECT_EQ(moveTo(FList.visualRect(FList.model()->index(0, 1)).center()), Qt::ArrowCursor);
    EXPECT_EQ(moveTo(FList.LinkRect(1, 2).center()), Qt::PointingHandCursor);
}

} // namespace
