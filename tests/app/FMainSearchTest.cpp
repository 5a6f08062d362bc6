// The search through the main window: the search bar, the buttons, the status bar, lvwResults and
// Save Results, against a fake search engine on the loopback interface.
#include "app/CrashReporter.h"
#include "app/FMain.h"
#include "tests/app/AppFakes.h"
#include "tests/search/FakeClock.h"
#include "tests/search/FakeSearchEngine.h"
#include "tests/search/ResultPages.h"
#include "tests/support/TempDir.h"
#include "widgets/Gauge.h"
#include "widgets/ListView.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using TAnswer = TFakeSearchEngine::TAnswer;

constexpr const char *ImagePrefix = "http://images.engine";

std::string Site(int n) {
    return ResultPages::Block("http://site" + std::to_string(n) + ".example/forum/",
                              "Site <b>" + std::to_string(n) + "</b>");
}

// The path as bytes: names the program saved must be UTF-8 on disk.
std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FMainSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        TMainServices services;
        services.MessageBox = &FMsgMain;
        services.ShellOpener = &FShell;
        services.ProgramStarter = &FShell;
        services.BrowserCommands = &FBrowsers;
        services.Clock = &FClock;
        services.ApplicationDir = FAppDir.Dir();
        services.SearchHost = FEngine.Host();
        services.ImageSearchPrefix = ImagePrefix;
        services.SaveDialog = [this](QWidget &owner, const TSaveDialogRequest &request) {
            EXPECT_EQ(&owner, FWindow.get());
            FDialogRequests.push_back(request);
            return FDialogAnswer;
        };
        FWindow = std::make_unique<TfrmMain>(std::move(services));
        FWindow->show();
        for (int pass = 0; pass < 8; ++pass)
            QCoreApplication::processEvents();

        // A page loop that ran away ends here instead of hanging the test.
        FClock.onSleep = [this] {
            if (FClock.sleeps.size() > TFakeSearchEngine::MaxRequests)
                FWindow->SetStopFlag(true);
        };
        FProbe.setInterval(0);
        QObject::connect(&FProbe, &QTimer::timeout, [this] {
            if (FProbeReady && FProbeReady()) {
                FProbe.stop();
                FProbeAction();
            }
        });
    }

    void TearDown() override {
        FEngine.Release();
        EXPECT_TRUE(FWindow->btnSearch->isEnabled()) << "the search did not end";
        EXPECT_TRUE(std::filesystem::is_empty(FAppDir.Path())) << "a download file was left behind";
        EXPECT_THAT(FCrashBox.Texts(), IsEmpty());
    }

    // Runs action once from the window's message processing during the search, as soon as ready
    // holds: a click at that moment.
    void During(std::function<bool()> ready, std::function<void()> action) {
        FProbeReady = std::move(ready);
        FProbeAction = std::move(action);
        FProbe.start();
    }

    // While the second page's transfer hangs halfway.
    void DuringTheSecondPage(std::function<void()> action) {
        During([this] { return FEngine.Targets().size() >= 2; }, std::move(action));
    }

    std::string Target(int start, const std::string &keyword = "forum",
                       const std::string &footprint = "%22[IMG]+code+is+on%22") const {
        return "/search?q=%22" + keyword + "%22+" + footprint + "&num=100&start=" + std::to_string(start);
    }

    std::string Status() const { return FWindow->MainStatusPanel->text().toStdString(); }
    std::string Count() const { return FWindow->SecondStatusPanel->text().toStdString(); }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int row = 0; row < FWindow->lvwResults->rowCount(); ++row)
            cells.push_back(FWindow->lvwResults->CellText(row, column).toStdString());
        return cells;
    }

    void Search() {
        QTest::mouseClick(FWindow->btnSearch, Qt::LeftButton);
        FProbe.stop();
    }

    TFakeSearchEngine FEngine;
    TTempDir FAppDir;
    TTempDir FSaveDir;
    TFakeClock FClock;
    TRecordingMessageBox FMsgMain;
    TRecordingMessageBox FCrashBox;
    TRecordingShell FShell;
    TNoBrowser FBrowsers;
    TCrashReporter FReporter{FCrashBox};
    std::vector<TSaveDialogRequest> FDialogRequests;
    std::optional<QString> FDialogAnswer;
    std::unique_ptr<TfrmMain> FWindow;
    QTimer FProbe;
    std::function<bool()> FProbeReady;
    std::function<void()> FProbeAction;
};

TEST_F(FMainSearchTest, SearchFillsTheTableAndSaveResultsWritesIt) {
    const std::string lastPage =
        ResultPages::Block("http://SITE1.example/again/", "Seen") + Site(3) + Site(4);
    FEngine.SetAnswer(0, {200, Site(0) + Site(1) + Site(2) +
                                   ResultPages::Block("http://quote.example/t/", "Say &quot;hi&quot; here") +
                                   ResultPages::Pager()});
    FEngine.SetAnswer(100, {200, lastPage});
    FWindow->edtKeyword->setText(QString::fromUtf8("caf\xc3\xa9 forum"));
    FWindow->cbxType->setCurrentIndex(1);
    FWindow->SecondStatusPanel->setText(QStringLiteral("12 items"));

    std::string statusDuringDownload;
    bool searchEnabledDuringDownload = true;
    During([this] { return !FEngine.Targets().empty(); },
           [&] {
               statusDuringDownload = Status();
               searchEnabledDuringDownload = FWindow->btnSearch->isEnabled();
           });
    Search();

    const std::string keyword = "caf\xe9+forum";
    const std::string footprint = "%22HTML+code+is+on%22";
    EXPECT_THAT(FEngine.Targets(),
                ElementsAre(Target(0, keyword, footprint), Target(100, keyword, footprint)));
    // Shown in the status bar as the characters the Windows-1252 bytes stand for.
    EXPECT_EQ(statusDuringDownload,
              "Getting URL: http://" + FEngine.Host() + Target(0, "caf\xc3\xa9+forum", footprint) + "...");
    EXPECT_FALSE(searchEnabledDuringDownload);
    EXPECT_THAT(Column(0), ElementsAre("1", "2", "3", "4", "5", "6"));
    EXPECT_THAT(Column(1), ElementsAre("Site 0", "Site 1", "Site 2", "Say \"hi\" here", "Site 3", "Site 4"));
    EXPECT_THAT(Column(2),
                ElementsAre("http://site0.example", "http://site1.example", "http://site2.example",
                            "http://quote.example", "http://site3.example", "http://site4.example"));
    EXPECT_THAT(Column(3), ::testing::Each(std::string("caf\xc3\xa9 forum")));
    EXPECT_EQ(Count(), "6 items");
    EXPECT_EQ(Status(), "Process completed successfully!");
    // The gauge followed the last page's body from its announced length to the end.
    EXPECT_EQ(FWindow->MainGauge->MaxValue(), static_cast<std::int64_t>(lastPage.size()));
    EXPECT_EQ(FWindow->MainGauge->Value(), FWindow->MainGauge->MaxValue());
    // The waits between pages went to the injected clock.
    ASSERT_EQ(FClock.sleeps.size(), 2u);
    EXPECT_THAT(FClock.sleeps, ::testing::Each(::testing::Lt(5000u)));

    FDialogAnswer = QString::fromStdString(FSaveDir.File("results"));
    QTest::mouseClick(FWindow->bsSkinButton2, Qt::LeftButton);
    ASSERT_EQ(FDialogRequests.size(), 1u);
    EXPECT_EQ(FDialogRequests[0].Title, QStringLiteral("Save results to csv"));
    EXPECT_EQ(FDialogRequests[0].Filter, QStringLiteral("Comma delimited (*.csv)"));
    EXPECT_TRUE(FDialogRequests[0].FileName.isEmpty());
    EXPECT_EQ(ReadBytes(FSaveDir.File("results.csv")),
              "\"Pos\",\"Title\",\"URL Domain\",\"Keyword used\"\r\n"
              "\"1\",\"Site 0\",\"http://site0.example\",\"caf\xe9 forum\"\r\n"
              "\"2\",\"Site 1\",\"http://site1.example\",\"caf\xe9 forum\"\r\n"
              "\"3\",\"Site 2\",\"http://site2.example\",\"caf\xe9 forum\"\r\n"
              "\"4\",\"Say \"\"hi\"\" here\",\"http://quote.example\",\"caf\xe9 forum\"\r\n"
              "\"5\",\"Site 3\",\"http://site3.example\",\"caf\xe9 forum\"\r\n"
              "\"6\",\"Site 4\",\"http://site4.example\",\"caf\xe9 forum\"\r\n");
    EXPECT_FALSE(std::filesystem::exists(FSaveDir.File("results")));
    EXPECT_THAT(FMsgMain.Shown, IsEmpty());
}

TEST_F(FMainSearchTest, SearchDeepLimitsTheRows) {
    std::string page;
    for (int n = 0; n < 130; ++n)
        page += Site(n);
    FEngine.SetAnswer(0, {200, page + ResultPages::Pager()});
    FWindow->edtKeyword->setText(QStringLiteral("forum"));
    FWindow->cbxItems->setCurrentIndex(1); // "100 items"
    Search();
    EXPECT_THAT(FEngine.Targets(), ElementsAre(Target(0)));
    EXPECT_EQ(FWindow->lvwResults->rowCount(), 100);
    EXPECT_EQ(Column(1).back(), "Site 99");
    EXPECT_EQ(Count(), "100 items");
    EXPECT_EQ(Status(), "Process completed successfully!");
}

struct TSaveCase {
    const char *chosen; // UTF-8, inside the save folder
    const char *written;
};

TEST_F(FMainSearchTest, SaveResultsAppendsCsvUnlessTheNameEndsInIt) {
    // An empty table gives the header alone; an existing file is replaced without a question.
    const TSaveCase cases[] = {{"results", "results.csv"},
                               {"RESULTS.CSV", "RESULTS.CSV"},
                               {"r\xc3\xa9sultats.txt", "r\xc3\xa9sultats.txt.csv"}};
    const QString dir = QString::fromStdString(FSaveDir.Dir());
    std::ofstream(FSaveDir.File("RESULTS.CSV"), std::ios::binary) << "older and longer content\r\n";
    for (const TSaveCase &c : cases) {
        SCOPED_TRACE(c.chosen);
        FDialogAnswer = dir + QString::fromUtf8(c.chosen);
        QTest::mouseClick(FWindow->bsSkinButton2, Qt::LeftButton);
        EXPECT_EQ(ReadBytes(FSaveDir.File(c.written)),
                  "\"Pos\",\"Title\",\"URL Domain\",\"Keyword used\"\r\n");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FSaveDir.Path()), {}), 3);
    EXPECT_THAT(FMsgMain.Shown, IsEmpty());

    // Cancelling does nothing.
    FDialogAnswer.reset();
    QTest::mouseClick(FWindow->bsSkinButton2, Qt::LeftButton);
    EXPECT_EQ(FDialogRequests.size(), 4u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FSaveDir.Path()), {}), 3);
    EXPECT_THAT(FMsgMain.Shown, IsEmpty());
}

TEST_F(FMainSearchTest, AFailedSaveIsShownByMsgMain) {
    FWindow->lvwResults->AddRow({"1", "A forum", "http://forum.example", "forum"});
    FDialogAnswer = QString::fromStdString(FSaveDir.Dir()) + QString::fromUtf8("missing/r\xc3\xa9sultats");
    QTest::mouseClick(FWindow->bsSkinButton2, Qt::LeftButton);
    ASSERT_EQ(FMsgMain.Shown.size(), 1u);
    EXPECT_EQ(FMsgMain.Shown[0].kind, TMsgKind::Warning);
    EXPECT_EQ(FMsgMain.Shown[0].buttons, TMsgButtons::Ok);
    // The name as the user sees it, in the program's code page.
    EXPECT_EQ(FMsgMain.Shown[0].text,
              "The results could not be saved to \"" + FSaveDir.Dir() + "missing/r\xe9sultats.csv\".");
    EXPECT_TRUE(std::filesystem::is_empty(FSaveDir.Path()));
    EXPECT_EQ(FWindow->lvwResults->rowCount(), 1);
}

TEST_F(FMainSearchTest, StopDuringADownloadAbortsTheSearch) {
    const std::string stalled = ResultPages::Page(3, 400, true);
    FEngine.SetAnswer(0, {200, Site(0) + Site(1) + Site(2) + ResultPages::Pager()});
    FEngine.SetAnswer(100, {200, stalled, true});
    FWindow->edtKeyword->setText(QStringLiteral("forum"));
    std::int64_t gaugeMax = 0;
    // Once the gauge shows the half the engine sent before it stalled, and not more.
    During(
        [&] {
            return FEngine.Targets().size() >= 2 &&
                   FWindow->MainGauge->Value() >= static_cast<std::int64_t>(stalled.size() / 2) &&
                   FWindow->MainGauge->Value() < FWindow->MainGauge->MaxValue();
        },
        [&] {
            gaugeMax = FWindow->MainGauge->MaxValue();
            QTest::mouseClick(FWindow->btnStop, Qt::LeftButton);
        });
    Search();
    EXPECT_EQ(gaugeMax, static_cast<std::int64_t>(stalled.size()));
    EXPECT_THAT(FEngine.Targets(), ElementsAre(Target(0), Target(100)));
    EXPECT_EQ(FWindow->lvwResults->rowCount(), 3);
    EXPECT_EQ(Count(), "3 items");
    // Not "Process completed successfully!": the search ended on the aborted download.
    EXPECT_EQ(Status(), "Download aborted by user.");
    EXPECT_TRUE(FWindow->StopFlag());
}

TEST_F(FMainSearchTest, SearchIsRefusedWhileOneRuns) {
    FEngine.SetAnswer(0, {200, Site(0) + Site(1) + ResultPages::Pager()});
    FEngine.SetAnswer(100, {200, Site(2) + Site(3), true});
    FWindow->edtKeyword->setText(QStringLiteral("forum"));
    bool enabled = true;
    DuringTheSecondPage([&] {
        enabled = FWindow->btnSearch->isEnabled();
        // The button takes no click, and the handler reached another way starts nothing.
        QTest::mouseClick(FWindow->btnSearch, Qt::LeftButton);
        FWindow->btnSearchClick();
        EXPECT_EQ(FWindow->lvwResults->rowCount(), 2);
        FEngine.Release();
    });
    Search();
    EXPECT_FALSE(enabled);
    // One search: no second first page, and the table was never emptied in between.
    EXPECT_THAT(FEngine.Targets(), ElementsAre(Target(0), Target(100)));
    EXPECT_THAT(Column(0), ElementsAre("1", "2", "3", "4"));
    EXPECT_EQ(Status(), "Process completed successfully!");
    EXPECT_TRUE(FWindow->btnSearch->isEnabled());
}

TEST_F(FMainSearchTest, ClearResultsDuringASearch) {
    FEngine.SetAnswer(0, {200, Site(0) + Site(1) + ResultPages::Pager()});
    FEngine.SetAnswer(100, {200, Site(1) + Site(2) + Site(0) + Site(3), true});
    FWindow->edtKeyword->setText(QStringLiteral("forum"));
    std::string statusAfterClear = "unset";
    std::string countAfterClear = "unset";
    DuringTheSecondPage([&] {
        QTest::mouseClick(FWindow->btnClear, Qt::LeftButton);
        EXPECT_EQ(FWindow->lvwResults->rowCount(), 0);
        statusAfterClear = Status();
        countAfterClear = Count();
        FEngine.Release();
    });
    Search();
    EXPECT_EQ(statusAfterClear, "");
    EXPECT_EQ(countAfterClear, "");
    // Domains found before the clear stay refused; the new rows are numbered from 1.
    EXPECT_THAT(Column(0), ElementsAre("1", "2"));
    EXPECT_THAT(Column(2), ElementsAre("http://site2.example", "http://site3.example"));
    EXPECT_EQ(Count(), "2 items");
    EXPECT_EQ(Status(), "Process completed successfully!");
}

TEST_F(FMainSearchTest, ClosingDuringADownloadEndsTheSearchAndTheApplication) {
    FEngine.SetAnswer(0, {200, Site(0) + ResultPages::Pager()});
    const std::string stalled = ResultPages::Page(1, 400, true);
    FEngine.SetAnswer(100, {200, stalled, true});
    FWindow->edtKeyword->setText(QStringLiteral("forum"));
    bool safetyFired = false;
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [&] {
        safetyFired = true;
        FWindow->SetStopFlag(true);
        FEngine.Release();
        QCoreApplication::quit();
    });
    safety.start(20000);
    bool searchEnded = false;
    QTimer::singleShot(0, [&] {
        // Once all the engine sends before it stalls has arrived, no further progress event
        // comes: closing must end the transfer by itself.
        During(
            [&] {
                return FEngine.Targets().size() >= 2 &&
                       FWindow->MainGauge->Value() >= static_cast<std::int64_t>(stalled.size() / 2);
            },
            [this] { FWindow->close(); });
        Search();
        searchEnded = true;
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(safetyFired);
    // The close itself broke the transfer; the engine never had to give up its stall.
    EXPECT_FALSE(FEngine.StallTimedOut());
    EXPECT_TRUE(searchEnded);
    EXPECT_FALSE(FWindow->isVisible());
    EXPECT_THAT(FEngine.Targets(), ElementsAre(Target(0), Target(100)));
    EXPECT_EQ(Status(), "Download aborted by user.");
}

// ---- The save dialog itself -----------------------------------------------------------------------

TEST(FMainSaveDialogTest, AsksForACsvNameWithoutAnOverwriteQuestion) {
    TTempDir appDir;
    TTempDir saveDir;
    TRecordingMessageBox msgMain;
    TRecordingShell shell;
    TNoBrowser browsers;
    TMainServices services;
    services.MessageBox = &msgMain;
    services.ShellOpener = &shell;
    services.ProgramStarter = &shell;
    services.BrowserCommands = &browsers;
    services.ApplicationDir = appDir.Dir();
    TfrmMain window(std::move(services));
    window.show();
    window.lvwResults->AddRow({"1", "A forum", "http://forum.example", "forum"});
    std::ofstream(saveDir.File("out.csv"), std::ios::binary) << "older\r\n";

    QString title;
    QStringList filters;
    QString startName = QStringLiteral("unset");
    bool confirmsOverwrite = true;
    bool native = true;
    bool asked = false;
    int dialogs = 0;
    QTimer probe;
    probe.setInterval(10);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            asked = true;
            box->reject();
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            if (++dialogs > 1 || waited.elapsed() > 10000) {
                dialog->reject();
                return;
            }
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (name)
                startName = name->text();
            dialog->setDirectory(QString::fromStdString(saveDir.Dir()));
            dialog->selectFile(QStringLiteral("out"));
            QMetaObject::invokeMethod(dialog, "accept"); // the Save button's slot
        }
    });
    probe.start();
    QTest::mouseClick(window.bsSkinButton2, Qt::LeftButton);
    probe.stop();

    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(title, QStringLiteral("Save results to csv"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Comma delimited (*.csv)")});
    EXPECT_EQ(startName, QString());
    EXPECT_FALSE(confirmsOverwrite);
    EXPECT_FALSE(native);
    EXPECT_FALSE(asked);
    // "out" was saved as out.csv, replacing the older file.
    EXPECT_EQ(ReadBytes(saveDir.File("out.csv")), "\"Pos\",\"Title\",\"URL Domain\",\"Keyword used\"\r\n"
                                                  "\"1\",\"A forum\",\"http://forum.example\",\"forum\"\r\n");
    EXPECT_THAT(msgMain.Shown, IsEmpty());
}

} // namespace
