#include "app/FMain.h"
#include "app/CrashReporter.h"
#include "tests/app/AppFakes.h"
#include "tests/support/TempDir.h"
#include "widgets/Gauge.h"
#include "widgets/HtmlView.h"
#include "widgets/ImageViews.h"
#include "widgets/LinkLabel.h"
#include "widgets/ListView.h"
#include "widgets/PageControl.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QTimerEvent>

#include <gmock/gmock.h>

#include <memory>
#include <stdexcept>

#include <ostream>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using TBranding = std::function<void(TfrmMain &)>;

TBranding Welcome(std::string html) {
    return [html](TfrmMain &window) { window.SetWelcomeHtml(html); };
}

class FMainTest : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> Create(TBranding branding = {}) {
        TMainServices services;
        services.MessageBox = &FMsgMain;
        services.ShellOpener = &FShell;
        services.ProgramStarter = &FShell;
        services.BrowserCommands = &FBrowsers;
        services.ApplicationDir = FDir.Dir();
        services.LoadBrandingSettings = std::move(branding);
        return std::make_unique<TfrmMain>(std::move(services));
    }

    // Layout requests climb one parent per pass: give them a few passes.
    static void Settle() {
        for (int pass = 0; pass < 8; ++pass)
            QCoreApplication::processEvents();
    }

    static void Show(TfrmMain &window) {
        window.show();
        Settle();
    }

    static void Tick(QTimer &timer) {
        QTimerEvent tick(timer.timerId());
        QCoreApplication::sendEvent(&timer, &tick);
    }

    static bool AnyTabHeaderShows(const TfrmMain &window) {
        for (int i = 0; i < window.pgcPrinc->count(); ++i)
            if (window.pgcPrinc->TabVisible(i))
                return true;
        return window.pgcPrinc->tabBar()->height() > 0 &&
               window.pgcPrinc->tabBar()->isVisibleTo(window.pgcPrinc);
    }

    TTempDir FDir;
    TRecordingMessageBox FMsgMain;
    TRecordingMessageBox FCrashBox;
    TRecordingShell FShell;
    TNoBrowser FBrowsers;
    TCrashReporter FReporter{FCrashBox};
};

// ---- Layout -------------------------------------------------------------------------------------

struct TControlCase {
    const char *name;
    const char *property; // holds the caption, or null
    const char *caption;
    int width;  // -1: not fixed
    int height; // -1: not fixed
};

const TControlCase SearchPageControls[] = {
    {"bsSkinPanel1", nullptr, nullptr, 882, 43},
    {"btnMakeMoney", "text", "Make Money", 125, 20},
    {"btnAbout", "text", "About", 125, 20},
    {"btnNews", "toolTip", "Check News", 41, 34},
    {"btnUpdate", "toolTip", "Check Updates", 41, 34},
    {"btnHelp", "toolTip", "Help", 41, 34},
    {"panBanner", nullptr, nullptr, 882, 65},
    {"bsSkinPanel4", nullptr, nullptr, 882, 57},
    {"edtKeyword", "text", "", 163, -1},
    {"cbxItems", "currentText", "All Items", 78, -1},
    {"cbxType", "currentText", "[IMG] code is on", 110, -1},
    {"btnSearch", "text", "Search", 65, 25},
    {"btnStop", "text", "Stop", 77, 25},
    {"bsSkinButton2", "text", "Save Results", 83, 25},
    {"btnClear", "text", "Clear results", 83, 25},
    {"lvwResults", nullptr, nullptr, 882, 547 - 43 - 65 - 57 - 36 - 17},
    {"panLinks", nullptr, nullptr, 882, 36},
    {"lblLink1URL", "text", "Google", -1, -1},
    {"lblLink2URL", "text", "Google", -1, -1},
    {"bsSkinStatusBar1", nullptr, nullptr, 882, 17},
    {"MainStatusPanel", "text", "", -1, -1},
    {"SecondStatusPanel", "text", "", 171, -1},
    {"MainGauge", nullptr, nullptr, 130, -1},
};

TEST_F(FMainTest, SearchPageHasEveryControlWithItsCaptionAndSize) {
    auto window = Create();
    Show(*window);
    EXPECT_EQ(window->size(), QSize(884, 549));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vellmark"));
    // The page control fills the client area inside a one-pixel frame.
    EXPECT_EQ(window->pgcPrinc->geometry(), window->rect());
    EXPECT_EQ(window->stsMain->size(), QSize(882, 547));

    for (const TControlCase &c : SearchPageControls) {
        SCOPED_TRACE(c.name);
        auto *control = window->findChild<QWidget *>(QLatin1String(c.name));
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->isVisible());
        if (c.property) {
            EXPECT_EQ(control->property(c.property).toString(), QString::fromLatin1(c.caption));
        }
        if (c.width >= 0) {
            EXPECT_EQ(control->width(), c.width);
        }
        if (c.height >= 0) {
            EXPECT_EQ(control->height(), c.height);
        }
        // Nothing sticks out of its band at the design size.
        if (control->parentWidget() != window->stsMain) {
            EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry()));
        }
    }
}

TEST_F(FMainTest, BandsFollowEachOtherFromTopToBottom) {
    auto window = Create();
    Show(*window);
    const std::vector<QWidget *> bands = {window->bsSkinPanel1, window->panBanner, window->bsSkinPanel4,
                                          window->lvwResults,   window->panLinks,  window->bsSkinStatusBar1};
    int top = 0;
    for (QWidget *band : bands) {
        SCOPED_TRACE(band->objectName().toStdString());
        EXPECT_EQ(band->parentWidget(), window->stsMain);
        EXPECT_EQ(band->geometry(), QRect(0, top, 882, band->height()));
        top += band->height();
    }
    EXPECT_EQ(top, window->stsMain->height());
}

// Controls left to right, each ending before the next begins.
void ExpectLeftToRight(const std::vector<QWidget *> &controls) {
    for (std::size_t i = 1; i < controls.size(); ++i)
        EXPECT_LT(controls[i - 1]->geometry().right(), controls[i]->x())
            << controls[i - 1]->objectName().toStdString() << " / "
            << controls[i]->objectName().toStdString();
}

QLabel *LabelWithText(QWidget &parent, const char *text) {
    for (QLabel *label : parent.findChildren<QLabel *>())
        if (label->text() == QLatin1String(text))
            return label;
    return nullptr;
}

TEST_F(FMainTest, ControlsKeepTheirOrderAndTheRightEdgeAnchors) {
    auto window = Create();
    Show(*window);
    TfrmMain &w = *window;
    QLabel *keyword = LabelWithText(*w.bsSkinPanel4, "Keyword:");
    QLabel *deep = LabelWithText(*w.bsSkinPanel4, "Search Deep:");
    QLabel *type = LabelWithText(*w.bsSkinPanel4, "Type:");
    ASSERT_TRUE(keyword && deep && type);
    ExpectLeftToRight({keyword, w.edtKeyword, deep, w.cbxItems, type, w.cbxType, w.btnSearch, w.btnStop,
                       w.bsSkinButton2, w.btnClear});
    ExpectLeftToRight({w.btnMakeMoney, w.btnAbout, w.btnNews, w.btnUpdate, w.btnHelp});
    ExpectLeftToRight({w.lblLink1URL, w.lblLink2URL});
    ExpectLeftToRight({w.MainStatusPanel, w.SecondStatusPanel, w.MainGauge});
    EXPECT_EQ(w.MainStatusPanel->x(), 0);
    EXPECT_EQ(w.MainGauge->geometry().right(), w.bsSkinStatusBar1->width() - 1);

    const int helpGap = w.bsSkinPanel1->width() - w.btnHelp->geometry().right();
    const int linkGap = w.panLinks->width() - w.lblLink2URL->geometry().right();
    const int makeMoneyLeft = w.btnMakeMoney->x();
    w.resize(1084, 649);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.bsSkinPanel1->width() - w.btnHelp->geometry().right(), helpGap);
    EXPECT_EQ(w.panLinks->width() - w.lblLink2URL->geometry().right(), linkGap);
    EXPECT_EQ(w.btnMakeMoney->x(), makeMoneyLeft);
    EXPECT_EQ(w.MainGauge->geometry().right(), w.bsSkinStatusBar1->width() - 1);
    EXPECT_EQ(w.SecondStatusPanel->width(), 171);
    EXPECT_EQ(w.lvwResults->height(), 649 - 2 - 43 - 65 - 57 - 36 - 17);
}

TEST_F(FMainTest, LongTextsNeverWidenTheWindow) {
    auto window = Create();
    Show(*window);
    const QString longText =
        QStringLiteral("Getting URL: http://www.google.com/search?q=") + QString(600, QLatin1Char('x'));
    window->MainStatusPanel->setText(longText);
    window->SecondStatusPanel->setText(longText);
    window->lblLink1URL->setText(longText);
    window->lblLink2URL->setText(longText);
    Settle();
    EXPECT_EQ(window->size(), QSize(884, 549));
    EXPECT_EQ(window->bsSkinStatusBar1->width(), 882);
    EXPECT_EQ(window->MainGauge->geometry().right(), 881);
    EXPECT_EQ(window->panLinks->width(), 882);
}

TEST_F(FMainTest, ListsGaugeTimerAndLinksStartAsDesigned) {
    auto window = Create();
    TfrmMain &w = *window;

    QStringList items;
    for (int i = 0; i < w.cbxItems->count(); ++i)
        items << w.cbxItems->itemText(i);
    EXPECT_EQ(items, QStringList({"All Items", "100 items", "200 items", "300 items", "400 items",
                                  "500 items", "600 items", "700 items", "800 items", "900 items"}));
    EXPECT_EQ(w.cbxItems->currentIndex(), 0);
    EXPECT_EQ(w.cbxType->count(), 2);
    EXPECT_EQ(w.cbxType->itemText(0), QStringLiteral("[IMG] code is on"));
    EXPECT_EQ(w.cbxType->itemText(1), QStringLiteral("HTML code is on"));
    EXPECT_EQ(w.cbxType->currentIndex(), 0);
    EXPECT_FALSE(w.cbxItems->isEditable());
    EXPECT_FALSE(w.cbxType->isEditable());

    ASSERT_EQ(w.lvwResults->columnCount(), 4);
    const char *captions[] = {"Pos", "Title", "URL Domain", "Keyword used"};
    const int widths[] = {40, 300, 300, 150};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.lvwResults->horizontalHeaderItem(i)->text(), QLatin1String(captions[i]));
        EXPECT_EQ(w.lvwResults->columnWidth(i), widths[i]);
    }
    EXPECT_EQ(w.lvwResults->rowCount(), 0);
    w.lvwResults->AddRow({"1", "A forum", "http://forum.example", "roses"});
    EXPECT_EQ(w.lvwResults->rowHeight(0), 20);

    EXPECT_EQ(w.MainGauge->MaxValue(), 100);
    EXPECT_EQ(w.MainGauge->Value(), 0);
    EXPECT_EQ(w.MainGauge->text(), QStringLiteral("0%"));

    EXPECT_EQ(w.Timer1->interval(), 2000);
    EXPECT_FALSE(w.Timer1->isSingleShot());
    EXPECT_EQ(&w.msgMain(), &FMsgMain);
    EXPECT_FALSE(w.StopFlag());
    EXPECT_EQ(w.lblLink1URL->URL(), std::string("http://") + BuildConfig::SearchHost + "/");
    EXPECT_EQ(w.lblLink2URL->URL(), w.lblLink1URL->URL());

    // The sponsor links and the result cells open through the desktop.
    Show(w);
    QTest::mouseClick(w.lblLink2URL, Qt::LeftButton);
    QTest::mouseClick(w.lvwResults->viewport(), Qt::LeftButton, {}, w.lvwResults->LinkRect(0, 2).center());
    EXPECT_THAT(FShell.Opened, ElementsAre(w.lblLink2URL->URL(), "http://forum.example"));
}

TEST_F(FMainTest, OpensCentredOnTheScreen) {
    auto window = Create();
    Show(*window);
    const QPoint screenCentre = window->screen()->availableGeometry().center();
    // Within the frame's few pixels, which the platform may add on either side.
    const QPoint frame = window->geometry().topLeft() - window->frameGeometry().topLeft();
    EXPECT_LE((screenCentre - window->geometry().center()).manhattanLength(), frame.manhattanLength() + 2);
}

// ---- Pages and the poll timer -------------------------------------------------------------------

TEST_F(FMainTest, WithoutWelcomePageTheSearchPageOpensAndThePollTimerRuns) {
    auto window = Create();
    EXPECT_TRUE(window->Timer1->isActive()); // already at creation, before the first showing
    ASSERT_NE(window->NewsList(), nullptr);
    EXPECT_THAT(*window->NewsList(), IsEmpty());

    Show(*window);
    EXPECT_EQ(window->pgcPrinc->count(), 1);
    EXPECT_EQ(window->pgcPrinc->currentWidget(), window->stsMain);
    EXPECT_TRUE(window->stsMain->isVisible());
    EXPECT_EQ(window->stsWelcome, nullptr);
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("stsWelcome")), nullptr);
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("bsSkinButton1")), nullptr);
    EXPECT_FALSE(AnyTabHeaderShows(*window));
    EXPECT_TRUE(window->edtKeyword->hasFocus() || !window->isActiveWindow());
}

TEST_F(FMainTest, WelcomePageOpensFirstAndItsButtonLeadsToTheSearchPage) {
    auto window =
        Create(Welcome("<html><body><h1>Hello \x80 reseller</h1><table><tr><td>Deals</td></tr></table>"
                       "<img src=\"banner.gif\"></body></html>"));
    EXPECT_FALSE(window->Timer1->isActive());
    Show(*window);
    EXPECT_EQ(window->pgcPrinc->count(), 2);
    EXPECT_EQ(window->pgcPrinc->currentWidget(), window->stsWelcome);
    EXPECT_TRUE(window->prfWelcome->isVisible());
    EXPECT_FALSE(AnyTabHeaderShows(*window));
    EXPECT_FALSE(window->Timer1->isActive());
    // Rendered, not shown as source; Windows-1252 text converted.
    const QString shown = window->prfWelcome->toPlainText();
    EXPECT_TRUE(shown.contains(QString::fromUtf8("Hello \xe2\x82\xac reseller"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Deals")));
    EXPECT_FALSE(shown.contains(QStringLiteral("<td>")));
    EXPECT_TRUE(window->prfWelcome->isReadOnly());

    EXPECT_EQ(window->bsSkinButton1->text(), QStringLiteral("Thanks, just show me the main application"));
    EXPECT_EQ(window->bsSkinButton1->width(), 265);
    EXPECT_TRUE(window->bsSkinButton1->isDefault());
    EXPECT_EQ(window->bsSkinPanel14->height(), 39);
    EXPECT_EQ(window->bsSkinPanel14->geometry().bottom(), window->stsWelcome->height() - 1);
    EXPECT_EQ(window->prfWelcome->geometry().bottom() + 1, window->bsSkinPanel14->y());

    QTest::mouseClick(window->bsSkinButton1, Qt::LeftButton);
    EXPECT_EQ(window->pgcPrinc->currentWidget(), window->stsMain);
    EXPECT_TRUE(window->stsMain->isVisible());
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_FALSE(AnyTabHeaderShows(*window));

    // The first showing only decides the page: showing the window again keeps the search page.
    window->hide();
    Show(*window);
    EXPECT_EQ(window->pgcPrinc->currentWidget(), window->stsMain);
    EXPECT_FALSE(AnyTabHeaderShows(*window));
}

TEST_F(FMainTest, EnterOnTheWelcomePagePressesTheDefaultButton) {
    auto window = Create(Welcome("<p>Welcome</p>"));
    Show(*window);
    QTest::keyClick(window->prfWelcome, Qt::Key_Return);
    EXPECT_EQ(window->pgcPrinc->currentWidget(), window->stsMain);
    EXPECT_TRUE(window->Timer1->isActive());
    // On the search page Enter does nothing of the kind.
    window->Timer1->stop();
    QTest::keyClick(window->edtKeyword, Qt::Key_Return);
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(FMainTest, EachEnablingOfThePollTimerGivesOneTick) {
    auto window = Create();
    ASSERT_TRUE(window->Timer1->isActive());
    Tick(*window->Timer1);
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(FMainTest, ClosingFromTheWelcomePageNeverStartsThePollTimer) {
    auto window = Create(Welcome("<p>Welcome</p>"));
    Show(*window);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->Timer1->isActive());
}

// ---- Banner centring ----------------------------------------------------------------------------

struct TBannerCase {
    const char *name;
    QSize picture;   // imgBanner
    QSize animation; // gifBanner
    int bandHeight;  // set by the branding, as a loaded banner does; 0 keeps the design height
    int windowWidth; // after showing at the design size
    QPoint pictureAt;
    QPoint animationAt;
};

// Names the case in test listings.
void PrintTo(const TBannerCase &c, std::ostream *os) {
    *os << '"' << c.name << '"';
}

class BannerTest : public FMainTest, public ::testing::WithParamInterface<TBannerCase> {};

TEST_P(BannerTest, BothViewsAreCentredInTheBand) {
    const TBannerCase &c = GetParam();
    auto window = Create([&c](TfrmMain &w) {
        w.imgBanner->SetPicture(QPixmap(c.picture));
        w.gifBanner->resize(c.animation);
        if (c.bandHeight > 0)
            w.panBanner->setFixedHeight(c.bandHeight);
    });
    Show(*window);
    if (c.windowWidth != 884) {
        window->resize(c.windowWidth, 549);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(window->panBanner->width(), c.windowWidth - 2);
    EXPECT_EQ(window->imgBanner->geometry(), QRect(c.pictureAt, c.picture));
    EXPECT_EQ(window->gifBanner->geometry(), QRect(c.animationAt, c.animation));
}

INSTANTIATE_TEST_SUITE_P(
    FMain, BannerTest,
    ::testing::Values(
        // Band 882 x 65: 441 - 500 = -59 and 441 - 52 = 389; 32 - 30 = 2.
        TBannerCase{"WiderThanTheBand", {1000, 60}, {105, 60}, 0, 884, {-59, 2}, {389, 2}},
        TBannerCase{"OddSizesTruncate", {105, 61}, {467, 59}, 0, 884, {389, 2}, {208, 3}},
        TBannerCase{"TallerThanTheBand", {468, 80}, {468, 65}, 0, 884, {207, -8}, {207, 0}},
        TBannerCase{"BandFitsTheBanner", {468, 80}, {468, 80}, 90, 884, {207, 5}, {207, 5}},
        TBannerCase{"AfterAWiderResize", {1000, 60}, {105, 60}, 0, 1084, {41, 2}, {489, 2}},
        TBannerCase{"AfterANarrowerResize", {105, 60}, {1000, 60}, 0, 600, {247, 2}, {-201, 2}}),
    [](const auto &info) { return info.param.name; });

TEST_F(FMainTest, BannerResizedWhileTheWelcomePageShowsIsCentredOnTheSearchPage) {
    auto window = Create([](TfrmMain &w) {
        w.SetWelcomeHtml("<p>Welcome</p>");
        w.imgBanner->SetPicture(QPixmap(1000, 60));
    });
    Show(*window);
    window->resize(1084, 549);
    QCoreApplication::processEvents();
    QTest::mouseClick(window->bsSkinButton1, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->panBanner->width(), 1082);
    EXPECT_EQ(window->imgBanner->pos(), QPoint(41, 2));
}

TEST_F(FMainTest, TheAnimatedViewStartsOnTheStillOne) {
    QRect still;
    auto window = Create([&still](TfrmMain &w) { still = w.imgBanner->geometry(); });
    // The branding load runs after the views were laid on top of each other.
    EXPECT_EQ(window->gifBanner->size(), still.size());
}

// ---- Closing ------------------------------------------------------------------------------------

TEST_F(FMainTest, ClosingSetsTheStopFlagAndCloses) {
    auto window = Create();
    Show(*window);
    bool pumped = false;
    QTimer::singleShot(0, [&pumped] { pumped = true; });
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->StopFlag());
    EXPECT_FALSE(window->isVisible());
    // The close dispatches what was pending, so a running search sees the flag promptly.
    EXPECT_TRUE(pumped);
    EXPECT_THAT(FCrashBox.Shown, IsEmpty());
}

TEST_F(FMainTest, ClosingEndsTheEventLoopAlsoFromInsideARunningHandler) {
    auto window = Create();
    Show(*window);
    bool safetyFired = false;
    bool handlerEnded = false;
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [&] {
        safetyFired = true;
        QCoreApplication::quit();
    });
    safety.start(10000);
    // A long handler, like a search: it pumps messages until the stop flag is set.
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(20, [&] { window->close(); });
        while (!window->StopFlag() && !safetyFired)
            window->ProcessMessages();
        handlerEnded = true;
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(safetyFired);
    EXPECT_TRUE(handlerEnded);
    EXPECT_TRUE(window->StopFlag());
}

// ---- Errors while the window is created ---------------------------------------------------------

struct TBrandingErrorCase {
    const char *name;
    bool setsWelcome;
    std::function<void()> fail;
    const char *reported;
    bool timerRuns;
};

// Names the case in test listings.
void PrintTo(const TBrandingErrorCase &c, std::ostream *os) {
    *os << '"' << c.name << '"';
}

class BrandingErrorTest : public FMainTest, public ::testing::WithParamInterface<TBrandingErrorCase> {};

TEST_P(BrandingErrorTest, IsReportedAndTheWindowIsStillFinished) {
    const TBrandingErrorCase &c = GetParam();
    auto window = Create([&c](TfrmMain &w) {
        if (c.setsWelcome)
            w.SetWelcomeHtml("<p>Welcome</p>");
        c.fail();
    });
    EXPECT_THAT(FCrashBox.Texts(), ElementsAre(c.reported));
    EXPECT_EQ(FCrashBox.Shown[0].kind, TMsgKind::Warning);
    ASSERT_NE(window->NewsList(), nullptr);
    EXPECT_EQ(window->Timer1->isActive(), c.timerRuns);

    Show(*window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pgcPrinc->currentWidget(), c.setsWelcome ? window->stsWelcome : window->stsMain);
}

INSTANTIATE_TEST_SUITE_P(
    FMain, BrandingErrorTest,
    ::testing::Values(TBrandingErrorCase{"NoWelcome", false,
                                         [] { throw std::runtime_error("Invalid banner entry"); },
                                         "Invalid banner entry", true},
                      TBrandingErrorCase{"AfterTheWelcomeWasChosen", true,
                                         [] { throw std::runtime_error("Bitmap image is not valid"); },
                                         "Bitmap image is not valid", false},
                      TBrandingErrorCase{"NotAStandardError", false, [] { throw 7; }, "Unknown error", true}),
    [](const auto &info) { return info.param.name; });

} // namespace
