#pragma once

#include "app/BuildConfig.h"
#include "search/SearchView.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class IBrowserCommandSource;
class IClock;
class IMessageBox;
class IProgramStarter;
class IShellOpener;
class THttpClient;
class TGifView;
class THtmlView;
class TImageView;
class TLinkLabel;
class TMsgMain;
class TPageFetcher;
class TSearchDriver;
class TSkinData;
class TSkinGauge;
class TSkinListView;
class TSkinPageControl;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// Built-in values of this program.
inline constexpr const char *AppVersion = "2.0";
inline constexpr const char *UpdateBaseURL = BuildConfig::UpdateBaseURL;

// News records, each "id^title^date", newest first as the service sends them.
using TNewsList = std::vector<std::string>;

class TfrmMain;

// What the save dialog (bsSkinSaveDialog1) is set up with before it is shown.
struct TSaveDialogRequest {
    QString Title;
    QString Filter;   // one entry in QFileDialog's form, "description (mask)"
    QString FileName; // the name it starts with
};
// Shows the save dialog modally over owner: the confirmed file name, or nothing when cancelled.
using TSaveDialog = std::function<std::optional<QString>(QWidget &owner, const TSaveDialogRequest &request)>;

// What the main window works with. Anything left empty gets the production default, so tests
// can answer the message boxes, record program starts and fake the desktop.
struct TMainServices {
    IMessageBox *MessageBox = nullptr; // default: the window's own skinned box
    IShellOpener *ShellOpener = nullptr;
    IProgramStarter *ProgramStarter = nullptr;
    IBrowserCommandSource *BrowserCommands = nullptr;
    IClock *Clock = nullptr;
    std::string ApplicationDir; // with a trailing '/'; default: the executable's directory
    // The search engine's web host and the link prefix of its image results; default: the build's.
    std::string SearchHost;
    std::string ImageSearchPrefix;
    // Default: a non-native QFileDialog, which follows the window's skin.
    TSaveDialog SaveDialog;
    // The branding load run while the window is created; default: nothing to load.
    std::function<void(TfrmMain &)> LoadBrandingSettings;
};

// The main window: a page control with the welcome page and the search page. The search runs
// against it as its view.
class TfrmMain final : public QWidget, public ISearchView {
    Q_OBJECT
public:
    explicit TfrmMain(TMainServices services = {}, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Controls, named as in the window layout. The welcome page and its controls are null once
    // the page has been destroyed (no welcome page to show).
    TSkinPageControl *pgcPrinc = nullptr;
    QWidget *stsWelcome = nullptr;
    THtmlView *prfWelcome = nullptr;
    QFrame *bsSkinPanel14 = nullptr;
    QPushButton *bsSkinButton1 = nullptr;
    QWidget *stsMain = nullptr;
    QFrame *bsSkinPanel1 = nullptr;
    QPushButton *btnMakeMoney = nullptr;
    QPushButton *btnAbout = nullptr;
    QPushButton *btnNews = nullptr;
    QPushButton *btnUpdate = nullptr;
    QPushButton *btnHelp = nullptr;
    QFrame *panBanner = nullptr;
    TImageView *imgBanner = nullptr;
    TGifView *gifBanner = nullptr;
    QFrame *bsSkinPanel4 = nullptr;
    QLineEdit *edtKeyword = nullptr;
    QComboBox *cbxItems = nullptr;
    QComboBox *cbxType = nullptr;
    QPushButton *btnSearch = nullptr;
    QPushButton *btnStop = nullptr;
    QPushButton *bsSkinButton2 = nullptr;
    QPushButton *btnClear = nullptr;
    TSkinListView *lvwResults = nullptr;
    QFrame *panLinks = nullptr;
    TLinkLabel *lblLink1URL = nullptr;
    TLinkLabel *lblLink2URL = nullptr;
    QFrame *bsSkinStatusBar1 = nullptr;
    QLabel *MainStatusPanel = nullptr;
    QLabel *SecondStatusPanel = nullptr;
    TSkinGauge *MainGauge = nullptr;
    // The message poll's timer: 2000 ms, disabled at first, one tick per enabling.
    QTimer *Timer1 = nullptr;

    // Non-visual parts.
    IMessageBox &msgMain() const { return *FServices.MessageBox; }
    TSkinData &bsSkinData1() const { return *FSkinData; }
    THttpClient &IdHTTP1() const { return *FIdHTTP1; }
    THttpClient &IdHTTP2() const { return *FIdHTTP2; }

    IShellOpener &ShellOpener() const { return *FServices.ShellOpener; }
    IProgramStarter &ProgramStarter() const { return *FServices.ProgramStarter; }
    IBrowserCommandSource &BrowserCommands() const { return *FServices.BrowserCommands; }
    IClock &Clock() const { return *FServices.Clock; }
    const std::string &ApplicationDir() const { return FServices.ApplicationDir; }

    // The text of the welcome page chosen by the branding load; empty when there is none.
    const std::string &WelcomeHtml() const { return FWelcomeHtml; }
    void SetWelcomeHtml(std::string html) { FWelcomeHtml = std::move(html); }
    // Null before the window's creation has made it and after the window is gone.
    TNewsList *NewsList() const { return FNewsList.get(); }

    // Set by Stop and by closing the window, cleared by Search; long operations test it.
    bool StopFlag() const override { return FStopFlag; }
    void SetStopFlag(bool stop) override { FStopFlag = stop; }

    // Dispatches the pending events of the window; any handler may run inside.
    void ProcessMessages() override;

    // The search's view of the window: the search bar, the status bar and lvwResults.
    std::string Keyword() const override;
    int TypeIndex() const override;
    int ItemsIndex() const override;
    void SetMainStatusText(const std::string &text) override;
    void SetSecondStatusText(const std::string &text) override;
    std::int64_t GaugeMax() const override;
    void SetGaugeMax(std::int64_t maximum) override;
    void SetGaugeValue(std::int64_t value) override;
    int ResultRowCount() const override;
    void AppendResultRow(const TResultRow &row) override;
    void ClearResultRows() override;
    std::vector<TResultRow> ResultRows() const override;
    void SearchRunningChanged(bool running) override;

    // Writes lvwResults to fileName (a name as the user chose it); a failure is shown by msgMain.
    void SaveResultsToCsv(const QString &fileName);

    // Event handlers, one per user event.
    void bsSkinButton1Click();
    void btnSearchClick();
    void btnStopClick();
    void bsSkinButton2Click();
    void btnClearClick();
    void btnMakeMoneyClick();
    void btnAboutClick();
    void btnNewsClick();
    void btnUpdateClick();
    void btnHelpClick();
    void imgBannerClick();
    void gifBannerClick();
    void Timer1Timer();
    // IdHTTP2's progress events; the work mode does not matter.
    void IdHTTP2WorkBegin(std::int64_t expected);
    void IdHTTP2Work(std::int64_t soFar);
    void IdHTTP2WorkEnd();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    QWidget *CreateWelcomePage();
    QWidget *CreateSearchPage();
    QFrame *CreateToolbar();
    QFrame *CreateBanner();
    QFrame *CreateSearchBar();
    QFrame *CreateLinks();
    QFrame *CreateStatusBar();
    void ConnectHandlers();

    void CreateSearch();
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormClose();
    void FormDestroy();
    void LoadBrandingSettings();
    void EnableTimer1();
    void CenterBanner();
    void DestroyWelcomePage();

    TMainServices FServices;
    std::unique_ptr<TMsgMain> FOwnMsgMain;
    std::unique_ptr<TSkinData> FSkinData;
    std::unique_ptr<THttpClient> FIdHTTP1;
    std::unique_ptr<THttpClient> FIdHTTP2;
    // Declared after IdHTTP2 and gone before it: both hold on to it.
    std::unique_ptr<TPageFetcher> FPageFetcher;
    std::unique_ptr<TSearchDriver> FSearchDriver;
    std::unique_ptr<TNewsList> FNewsList;
    std::string FWelcomeHtml;
    bool FStopFlag = false;
    bool FShown = false;
};
