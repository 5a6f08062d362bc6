#include "widgets/HtmlView.h"
#include "tests/support/TempDir.h"
#include "tests/widgets/Fakes.h"
#include "widgets/PageControl.h"

#include <QImage>
#include <QTabBar>
#include <QTextDocument>
#include <QUrl>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

TEST(HtmlView, ShowsThePageRenderedAndLoadsNothingFromDisk) {
    TTempDir dir;
    const QString picture = QString::fromStdString(dir.File("logo.png"));
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(picture));
    const QUrl pictureUrl = QUrl::fromLocalFile(picture);

    TRecordingShellOpener shell;
    THtmlView view(shell);
    view.WriteHtml(
        QStringLiteral("<html><body><table><tr><td>Cell</td></tr></table><img src=\"%1\"></body></html>")
            .arg(pictureUrl.toString()));
    EXPECT_TRUE(view.isReadOnly());
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("Cell")));
    EXPECT_FALSE(view.toPlainText().contains(QStringLiteral("<td>")));
    // A page could name /dev/zero or a private file: the view must not read it.
    EXPECT_TRUE(view.document()->resource(QTextDocument::ImageResource, pictureUrl).toByteArray().isEmpty());
}

TEST(HtmlView, ShowsPicturesCarriedInThePage) {
    TRecordingShellOpener shell;
    THtmlView view(shell);
    // A 1 x 1 GIF.
    const QString dataUrl =
        QStringLiteral("data:image/gif;base64,R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7");
    view.WriteHtml(QStringLiteral("<img src=\"%1\">").arg(dataUrl));
    EXPECT_FALSE(
        view.document()->resource(QTextDocument::ImageResource, QUrl(dataUrl)).value<QImage>().isNull());
}

TEST(HtmlView, LinksOpenThroughTheDesktop) {
    TRecordingShellOpener shell;
    THtmlView view(shell);
    view.WriteHtml(QStringLiteral("<a href=\"http://offer.example/x?y=1\">Offer</a>"));
    emit view.anchorClicked(QUrl(QStringLiteral("http://offer.example/x?y=1")));
    EXPECT_THAT(shell.Opened, ElementsAre("http://offer.example/x?y=1"));
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("Offer")));
}

TEST(PageControl, HiddenTabsKeepTheirPagesUsable) {
    TSkinPageControl pages;
    auto *first = new QWidget;
    auto *second = new QWidget;
    pages.addTab(first, QStringLiteral("First"));
    pages.addTab(second, QStringLiteral("Second"));
    pages.resize(300, 200);
    pages.show();

    pages.SetTabVisible(0, false);
    EXPECT_EQ(pages.currentIndex(), 0);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(pages.TabVisible(1));

    pages.SetTabVisible(1, false);
    EXPECT_FALSE(pages.TabVisible(0));
    EXPECT_FALSE(pages.TabVisible(1));
    EXPECT_FALSE(pages.tabBar()->isVisibleTo(&pages));
    pages.setCurrentIndex(1);
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(first->isVisible());
    // No header band left: the page starts at the top.
    EXPECT_LE(second->mapTo(&pages, QPoint(0, 0)).y(), 2);
}

} // namespace
