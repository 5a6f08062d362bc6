#include "app/FMain.h"

#include "app/CrashReporter.h"
#include "net/HttpClient.h"
#include "platform/AppDir.h"
#include "platform/BrowserCommand.h"
#include "platform/Clock.h"
#include "platform/ProgramStarter.h"
#include "search/CsvExport.h"
#include "search/PageFetcher.h"
#include "search/ResultsTable.h"
#include "search/SearchDriver.h"
#include "utils/Random.h"
#include "widgets/Gauge.h"
#include "widgets/HtmlView.h"
#include "widgets/ImageViews.h"
#include "widgets/LinkLabel.h"
#include "widgets/ListView.h"
#include "widgets/MsgMain.h"
#include "widgets/PageControl.h"
#include "widgets/Skin.h"
#include "widgets/TextCodec.h"
#include "widgets/ToolIcons.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace {

constexpr int ClientWidth = 884;
constexpr int ClientHeight = 549;
constexpr int Timer1Interval = 2000;

template <typename TControl> TControl *Named(TControl *control, const char *name) {
    control->setObjectName(QLatin1String(name));
    return control;
}

QPushButton *Button(QWidget *parent, const char *name, const char *caption, int width, int height) {
    auto *button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
    button->setFixedSize(width, height);
    return button;
}

QPushButton *PictureButton(QWidget *parent, const char *name, const QIcon &icon, const char *hint) {
    auto *button = Button(parent, name, "", 41, 34);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setToolTip(QString::fromLatin1(hint));
    return button;
}

QFrame *Band(QWidget *parent, const char *name, int height) {
    auto *band = Named(new QFrame(parent), name);
    band->setFixedHeight(height);
    return band;
}

QHBoxLayout *Row(QWidget *band, int sideMargin, int spacing) {
    auto *row = new QHBoxLayout(band);
    row->setContentsMargins(sideMargin, 0, sideMargin, 0);
    row->setSpacing(spacing);
    return row;
}

QComboBox *DropDownList(QWidget *parent, const char *name, int width, const QStringList &entries) {
    auto *list = Named(new QComboBox(parent), name);
    list->setEditable(false);
    list->addItems(entries);
    list->setCurrentIndex(0);
    list->setFixedWidth(width);
    // The box is narrower than its longest entry; the open list is not.
    list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0) + 24);
    return list;
}

// The banner the band shows until a branded one replaces it.
QPixmap DesignBanner() {
    QPixmap picture(468, 60);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 60);
    fill.setColorAt(0, QColor(0x4f, 0x84, 0xbd));
    fill.setColorAt(1, QColor(0x2a, 0x57, 0x8a));
    painter.fillRect(picture.rect(), fill);
    painter.setPen(QColor(0x1d, 0x3f, 0x66));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    QFont title = painter.font();
    title.setPixelSize(24);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(16, 6, 436, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vellmark"));
    QFont line = painter.font();
    line.setPixelSize(12);
    line.setBold(false);
    painter.setFont(line);
    painter.setPen(QColor(0xdb, 0xe8, 0xf6));
    painter.drawText(QRect(16, 34, 436, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Find the forums that talk about your keyword"));
    painter.end();
    return picture;
}

// A dialog filter is written "description|mask"; QFileDialog reads the mask from the parentheses
// at the end of the description.
QString NameFilter(std::string_view filter) {
    const std::size_t bar = filter.find('|');
    QString description = Cp1252ToQString(filter.substr(0, bar));
    if (bar == std::string_view::npos)
        return description;
    const QString mask = QStringLiteral("(") + Cp1252ToQString(filter.substr(bar + 1)) + QStringLiteral(")");
    if (!description.endsWith(mask))
        description += QLatin1Char(' ') + mask;
    return description;
}

std::optional<QString> ExecuteSaveDialog(QWidget &owner, const TSaveDialogRequest &request) {
    QFileDialog dialog(&owner, request.Title);
    dialog.setObjectName(QStringLiteral("bsSkinSaveDialog1"));
    // The platform's own dialog would ignore the skin; the file is replaced without a question.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.Filter);
    dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

TfrmMain::TfrmMain(TMainServices services, QWidget *parent)
    : QWidget(parent), FServices(std::move(services)) {
    if (!FServices.ShellOpener)
        FServices.ShellOpener = &SystemShellOpener();
    if (!FServices.ProgramStarter)
        FServices.ProgramStarter = &SystemProgramStarter();
    if (!FServices.BrowserCommands)
        FServices.BrowserCommands = &SystemBrowserCommandSource();
    if (!FServices.Clock)
        FServices.Clock = &SystemClock();
    if (FServices.ApplicationDir.empty())
        FServices.ApplicationDir = ApplicationDirectory();
    if (FServices.SearchHost.empty())
        FServices.SearchHost = BuildConfig::SearchHost;
    if (FServices.ImageSearchPrefix.empty())
        FServices.ImageSearchPrefix = BuildConfig::ImageSearchPrefix;
    if (!FServices.SaveDialog)
        FServices.SaveDialog = ExecuteSaveDialog;
    if (!FServices.MessageBox) {
        FOwnMsgMain = std::make_unique<TMsgMain>(this);
        FServices.MessageBox = FOwnMsgMain.get();
    }

    FIdHTTP1 = std::make_unique<THttpClient>(*FServices.Clock);
    FIdHTTP2 = std::make_unique<THttpClient>(*FServices.Clock);
    FIdHTTP1->SetMessagePump([this] { ProcessMessages(); });
    FIdHTTP2->SetMessagePump([this] { ProcessMessages(); });
    // Before anything that can fail, so Search, Stop and the progress events always find them.
    CreateSearch();

    CreateControls();
    ConnectHandlers();

    // An error in the window's creation is reported and the window is still shown.
    RunGuarded([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() {
    RunGuarded([this] { FormDestroy(); });
}

// ---- Layout -----------------------------------------------------------------------------------

void TfrmMain::CreateControls() {
    setObjectName(QStringLiteral("TfrmMain"));
    setWindowTitle(QStringLiteral("Vellmark"));

    FSkinData = std::make_unique<TSkinData>();
    FSkinData->Apply(*this);

    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(Timer1Interval);

    auto *client = new QVBoxLayout(this);
    client->setContentsMargins(0, 0, 0, 0);
    client->setSpacing(0);
    pgcPrinc = Named(new TSkinPageControl(this), "pgcPrinc");
    client->addWidget(pgcPrinc);

    stsWelcome = CreateWelcomePage();
    stsMain = CreateSearchPage();
    pgcPrinc->addTab(stsWelcome, QStringLiteral("Welcome"));
    pgcPrinc->addTab(stsMain, QStringLiteral("Main"));
    pgcPrinc->setCurrentIndex(0);

    // The client area, centred; the frame is not known before the window is on screen.
    const QSize clientSize(ClientWidth, ClientHeight);
    if (const QScreen *screen = this->screen())
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, clientSize, screen->availableGeometry()));
    else
        resize(clientSize);
}

QWidget *TfrmMain::CreateWelcomePage() {
    auto *page = Named(new QWidget, "stsWelcome");
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    prfWelcome = Named(new THtmlView(*FServices.ShellOpener, page), "prfWelcome");
    column->addWidget(prfWelcome, 1);

    bsSkinPanel14 = Band(page, "bsSkinPanel14", 39);
    auto *row = Row(bsSkinPanel14, 8, 0);
    row->addStretch(1);
    bsSkinButton1 =
        Button(bsSkinPanel14, "bsSkinButton1", "Thanks, just show me the main application", 265, 25);
    bsSkinButton1->setDefault(true);
    row->addWidget(bsSkinButton1);
    row->addStretch(1);
    column->addWidget(bsSkinPanel14);
    return page;
}

QWidget *TfrmMain::CreateSearchPage() {
    auto *page = Named(new QWidget, "stsMain");
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(CreateToolbar());
    column->addWidget(CreateBanner());
    column->addWidget(CreateSearchBar());

    lvwResults = Named(new TSkinListView(*FServices.ShellOpener, page), "lvwResults");
    lvwResults->SetColumns({{QStringLiteral("Pos"), 40},
                            {QStringLiteral("Title"), 300},
                            {QStringLiteral("URL Domain"), 300},
                            {QStringLiteral("Keyword used"), 150}});
    column->addWidget(lvwResults, 1);

    column->addWidget(CreateLinks());
    column->addWidget(CreateStatusBar());
    return page;
}

QFrame *TfrmMain::CreateToolbar() {
    bsSkinPanel1 = Band(nullptr, "bsSkinPanel1", 43);
    bsSkinPanel1->setFrameShape(QFrame::NoFrame);
    bsSkinPanel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *row = Row(bsSkinPanel1, 6, 4);
    btnMakeMoney = Button(bsSkinPanel1, "btnMakeMoney", "Make Money", 125, 20);
    btnAbout = Button(bsSkinPanel1, "btnAbout", "About", 125, 20);
    btnNews = PictureButton(bsSkinPanel1, "btnNews", NewsIcon(), "Check News");
    btnUpdate = PictureButton(bsSkinPanel1, "btnUpdate", UpdateIcon(), "Check Updates");
    btnHelp = PictureButton(bsSkinPanel1, "btnHelp", HelpIcon(), "Help");
    row->addWidget(btnMakeMoney);
    row->addWidget(btnAbout);
    row->addStretch(1);
    row->addWidget(btnNews);
    row->addWidget(btnUpdate);
    row->addWidget(btnHelp);
    return bsSkinPanel1;
}

QFrame *TfrmMain::CreateBanner() {
    panBanner = Band(nullptr, "panBanner", 65);
    // The two views are placed by hand, centred on top of each other, and may stick out.
    imgBanner = Named(new TImageView(panBanner), "imgBanner");
    imgBanner->SetPicture(DesignBanner());
    gifBanner = Named(new TGifView(panBanner), "gifBanner");
    gifBanner->hide(); // nothing to animate until a branded animation is loaded
    panBanner->installEventFilter(this);
    return panBanner;
}

QFrame *TfrmMain::CreateSearchBar() {
    bsSkinPanel4 = Band(nullptr, "bsSkinPanel4", 57);
    bsSkinPanel4->setFrameShape(QFrame::NoFrame);
    // Fixed sizes do not shrink: in a narrow window the bar is clipped instead of widening it.
    bsSkinPanel4->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *row = Row(bsSkinPanel4, 6, 4);
    const auto label = [this](const char *caption) {
        return new QLabel(QString::fromLatin1(caption), bsSkinPanel4);
    };

    edtKeyword = Named(new QLineEdit(bsSkinPanel4), "edtKeyword");
    edtKeyword->setFixedWidth(163);
    cbxItems =
        DropDownList(bsSkinPanel4, "cbxItems", 78,
                     {QStringLiteral("All Items"), QStringLiteral("100 items"), QStringLiteral("200 items"),
                      QStringLiteral("300 items"), QStringLiteral("400 items"), QStringLiteral("500 items"),
                      QStringLiteral("600 items"), QStringLiteral("700 items"), QStringLiteral("800 items"),
                      QStringLiteral("900 items")});
    cbxType = DropDownList(bsSkinPanel4, "cbxType", 110,
                           {QStringLiteral("[IMG] code is on"), QStringLiteral("HTML code is on")});
    btnSearch = Button(bsSkinPanel4, "btnSearch", "Search", 65, 25);
    btnStop = Button(bsSkinPanel4, "btnStop", "Stop", 77, 25);
    bsSkinButton2 = Button(bsSkinPanel4, "bsSkinButton2", "Save Results", 83, 25);
    btnClear = Button(bsSkinPanel4, "btnClear", "Clear results", 83, 25);

    row->addWidget(label("Keyword:"));
    row->addWidget(edtKeyword);
    row->addSpacing(4);
    row->addWidget(label("Search Deep:"));
    row->addWidget(cbxItems);
    row->addSpacing(4);
    row->addWidget(label("Type:"));
    row->addWidget(cbxType);
    row->addSpacing(4);
    row->addWidget(btnSearch);
    row->addWidget(btnStop);
    row->addWidget(bsSkinButton2);
    row->addWidget(btnClear);
    row->addStretch(1);
    return bsSkinPanel4;
}

QFrame *TfrmMain::CreateLinks() {
    panLinks = Band(nullptr, "panLinks", 36);
    auto *row = Row(panLinks, 8, 8);
    // Until the branding names sponsors, both labels point at the search engine's home page.
    const std::string home = "http://" + FServices.SearchHost + "/";
    lblLink1URL = Named(new TLinkLabel(*FServices.ShellOpener, panLinks), "lblLink1URL");
    lblLink2URL = Named(new TLinkLabel(*FServices.ShellOpener, panLinks), "lblLink2URL");
    for (TLinkLabel *link : {lblLink1URL, lblLink2URL}) {
        link->SetCaption("Google");
        link->SetURL(home);
    }
    for (TLinkLabel *link : {lblLink1URL, lblLink2URL})
        link->setMinimumWidth(1); // a long sponsor caption is cut off instead of widening the window
    lblLink2URL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(lblLink1URL);
    row->addStretch(1);
    row->addWidget(lblLink2URL);
    return panLinks;
}

QFrame *TfrmMain::CreateStatusBar() {
    bsSkinStatusBar1 = Band(nullptr, "bsSkinStatusBar1", 17);
    auto *row = Row(bsSkinStatusBar1, 0, 1);
    MainStatusPanel = Named(new QLabel(bsSkinStatusBar1), "MainStatusPanel");
    SecondStatusPanel = Named(new QLabel(bsSkinStatusBar1), "SecondStatusPanel");
    for (QLabel *panel : {MainStatusPanel, SecondStatusPanel})
        panel->setTextFormat(Qt::PlainText);
    // A long status text (a whole URL) is cut off; it must never widen the window.
    MainStatusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    SecondStatusPanel->setFixedWidth(171);
    MainGauge = Named(new TSkinGauge(bsSkinStatusBar1), "MainGauge");
    MainGauge->setFixedWidth(130);
    row->addWidget(MainStatusPanel, 1);
    row->addWidget(SecondStatusPanel);
    row->addWidget(MainGauge);
    return bsSkinStatusBar1;
}

void TfrmMain::ConnectHandlers() {
    // Each handler runs guarded, so an error in it never unwinds through the button's code.
    const auto wire = [this](QPushButton *button, void (TfrmMain::*handler)()) {
        connect(button, &QPushButton::clicked, this, Guarded([this, handler] { (this->*handler)(); }));
    };
    wire(bsSkinButton1, &TfrmMain::bsSkinButton1Click);
    wire(btnSearch, &TfrmMain::btnSearchClick);
    wire(btnStop, &TfrmMain::btnStopClick);
    wire(bsSkinButton2, &TfrmMain::bsSkinButton2Click);
    wire(btnClear, &TfrmMain::btnClearClick);
    wire(btnMakeMoney, &TfrmMain::btnMakeMoneyClick);
    wire(btnAbout, &TfrmMain::btnAboutClick);
    wire(btnNews, &TfrmMain::btnNewsClick);
    wire(btnUpdate, &TfrmMain::btnUpdateClick);
    wire(btnHelp, &TfrmMain::btnHelpClick);
    connect(imgBanner, &TImageView::Clicked, this, Guarded([this] { imgBannerClick(); }));
    connect(gifBanner, &TGifView::Clicked, this, Guarded([this] { gifBannerClick(); }));
    connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));
}

// ---- Window events ----------------------------------------------------------------------------

void TfrmMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    RunGuarded([this] { FormShow(); });
}

void TfrmMain::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    RunGuarded([this] { FormResize(); });
}

void TfrmMain::closeEvent(QCloseEvent *event) {
    RunGuarded([this] { FormClose(); });
    QWidget::closeEvent(event);
}

void TfrmMain::keyPressEvent(QKeyEvent *event) {
    // Enter left over by the focused control presses the default button, as in a dialog.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && bsSkinButton1 && bsSkinButton1->isVisible() && bsSkinButton1->isEnabled()) {
        bsSkinButton1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event) {
    // The band is laid out late while its page is hidden: keep the views centred whenever it changes.
    if (watched == panBanner && event->type() == QEvent::Resize)
        RunGuarded([this] { CenterBanner(); });
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::CreateSearch() {
    FPageFetcher =
        std::make_unique<TPageFetcher>(*FIdHTTP2, *this, ProcessRandom(), FServices.ApplicationDir);
    FSearchDriver = std::make_unique<TSearchDriver>(*this, *FPageFetcher, ProcessRandom(), *FServices.Clock,
                                                    FServices.SearchHost, FServices.ImageSearchPrefix);
    // The client raises these from inside a request; an error in them fails that request.
    FIdHTTP2->OnWorkBegin = [this](TWorkMode, std::int64_t expected) { IdHTTP2WorkBegin(expected); };
    FIdHTTP2->OnWork = [this](TWorkMode, std::int64_t soFar) { IdHTTP2Work(soFar); };
    FIdHTTP2->OnWorkEnd = [this](TWorkMode) { IdHTTP2WorkEnd(); };
}

void TfrmMain::FormCreate() {
    gifBanner->setGeometry(imgBanner->geometry());
    // Our choice: an error in the branding load is reported, and the creation still finishes, so
    // the timer rule holds and the news list exists for the News button and the poll.
    RunGuarded([this] { LoadBrandingSettings(); });
    if (FWelcomeHtml.empty())
        EnableTimer1();
    FNewsList = std::make_unique<TNewsList>();
}

void TfrmMain::FormShow() {
    // Visiting every page once lays out the hidden ones before the user sees them.
    for (int i = 0; i < pgcPrinc->count(); ++i) {
        pgcPrinc->setCurrentIndex(i);
        ProcessMessages();
    }
    pgcPrinc->setCurrentIndex(0);
    if (!FWelcomeHtml.empty()) {
        pgcPrinc->SetTabVisible(pgcPrinc->indexOf(stsWelcome), false);
        pgcPrinc->setCurrentIndex(0);
        const QString html = Cp1252ToQString(FWelcomeHtml);
        try {
            prfWelcome->WriteHtml(html);
        } catch (...) {
            // A page that cannot be shown leaves the view as it was.
        }
    } else {
        DestroyWelcomePage();
    }
    pgcPrinc->SetTabVisible(pgcPrinc->indexOf(stsMain), false);
    pgcPrinc->setCurrentIndex(0);
    if (pgcPrinc->currentWidget() == stsMain)
        edtKeyword->setFocus();
    else
        bsSkinButton1->setFocus();
    FormResize();
}

void TfrmMain::FormResize() {
    CenterBanner();
}

void TfrmMain::FormClose() {
    // A failed disconnect must not keep the window open. The search client is disconnected too:
    // a page download that stalls would otherwise keep the closed program running unseen.
    for (THttpClient *client : {FIdHTTP1.get(), FIdHTTP1.get(), FIdHTTP2.get()}) {
        try {
            client->Disconnect();
        } catch (...) {
        }
    }
    FStopFlag = true;
    ProcessMessages();
}

void TfrmMain::FormDestroy() {
    FNewsList.reset();
}

void TfrmMain::bsSkinButton1Click() {
    pgcPrinc->setCurrentIndex(1);
    edtKeyword->setFocus();
    if (!FWelcomeHtml.empty())
        EnableTimer1();
}

// ---- Operations -------------------------------------------------------------------------------

void TfrmMain::ProcessMessages() {
    QCoreApplication::processEvents();
}

void TfrmMain::LoadBrandingSettings() {
    if (FServices.LoadBrandingSettings)
        FServices.LoadBrandingSettings(*this);
}

void TfrmMain::EnableTimer1() {
    // Enabling a running timer leaves its tick where it is.
    if (!Timer1->isActive())
        Timer1->start();
}

void TfrmMain::CenterBanner() {
    // C++ division truncates toward zero, as the centring wants; views larger than the band get
    // negative positions and are clipped by it.
    for (QWidget *view : {static_cast<QWidget *>(imgBanner), static_cast<QWidget *>(gifBanner)}) {
        const int left = panBanner->width() / 2 - view->width() / 2;
        const int top = panBanner->height() / 2 - view->height() / 2;
        view->move(left, top);
    }
}

void TfrmMain::DestroyWelcomePage() {
    const int index = pgcPrinc->indexOf(stsWelcome);
    if (index < 0)
        return;
    pgcPrinc->removeTab(index);
    delete stsWelcome; // the page owns its controls; they go with it
    stsWelcome = nullptr;
    prfWelcome = nullptr;
    bsSkinPanel14 = nullptr;
    bsSkinButton1 = nullptr;
}

// ---- Search -----------------------------------------------------------------------------------

void TfrmMain::btnSearchClick() {
    FSearchDriver->SearchClick();
}

void TfrmMain::btnStopClick() {
    FSearchDriver->StopClick();
}

void TfrmMain::IdHTTP2WorkBegin(std::int64_t expected) {
    FPageFetcher->WorkBegin(expected);
}

void TfrmMain::IdHTTP2Work(std::int64_t soFar) {
    FPageFetcher->Work(soFar);
}

void TfrmMain::IdHTTP2WorkEnd() {
    FPageFetcher->WorkEnd();
}

void TfrmMain::btnClearClick() {
    ClearResults(*this);
}

void TfrmMain::bsSkinButton2Click() {
    const TSaveDialogRequest request{Cp1252ToQString(SaveResultsDialogTitle),
                                     NameFilter(SaveResultsDialogFilter), QString()};
    if (const std::optional<QString> fileName = FServices.SaveDialog(*this, request))
        SaveResultsToCsv(*fileName);
}

void TfrmMain::SaveResultsToCsv(const QString &fileName) {
    // The path goes to the file system in its encoding; the warning names the file as the user
    // sees it. Both get ".csv" alike: the extension test looks at ASCII bytes only.
    const std::string path = EnsureCsvExtension(QFile::encodeName(fileName).toStdString());
    ::SaveResultsToCsv(path, EnsureCsvExtension(QStringToCp1252(fileName)), ResultRows(), msgMain());
}

// ---- The search's view ------------------------------------------------------------------------

std::string TfrmMain::Keyword() const {
    return QStringToCp1252(edtKeyword->text());
}

int TfrmMain::TypeIndex() const {
    return cbxType->currentIndex();
}

int TfrmMain::ItemsIndex() const {
    return cbxItems->currentIndex();
}

void TfrmMain::SetMainStatusText(const std::string &text) {
    MainStatusPanel->setText(Cp1252ToQString(text));
}

void TfrmMain::SetSecondStatusText(const std::string &text) {
    SecondStatusPanel->setText(Cp1252ToQString(text));
}

std::int64_t TfrmMain::GaugeMax() const {
    return MainGauge->MaxValue();
}

void TfrmMain::SetGaugeMax(std::int64_t maximum) {
    MainGauge->SetMaxValue(maximum);
}

void TfrmMain::SetGaugeValue(std::int64_t value) {
    MainGauge->SetValue(value);
}

int TfrmMain::ResultRowCount() const {
    return lvwResults->rowCount();
}

void TfrmMain::AppendResultRow(const TResultRow &row) {
    lvwResults->AddRow({Cp1252ToQString(row.pos), Cp1252ToQString(row.title), Cp1252ToQString(row.domain),
                        Cp1252ToQString(row.keyword)});
}

void TfrmMain::ClearResultRows() {
    lvwResults->ClearRows();
}

std::vector<TResultRow> TfrmMain::ResultRows() const {
    // Every Windows-1252 byte has its own character, so the cells give the row's bytes back.
    std::vector<TResultRow> rows;
    rows.reserve(static_cast<std::size_t>(lvwResults->rowCount()));
    for (int row = 0; row < lvwResults->rowCount(); ++row)
        rows.push_back(
            {QStringToCp1252(lvwResults->CellText(row, 0)), QStringToCp1252(lvwResults->CellText(row, 1)),
             QStringToCp1252(lvwResults->CellText(row, 2)), QStringToCp1252(lvwResults->CellText(row, 3))});
    return rows;
}

void TfrmMain::SearchRunningChanged(bool running) {
    // A click while a search runs is refused; the button shows it.
    btnSearch->setEnabled(!running);
}

// ---- Handlers of later features ---------------------------------------------------------------
// Wired to their controls so the window is complete; each feature brings its own body.

void TfrmMain::btnMakeMoneyClick() {}
void TfrmMain::btnAboutClick() {}
void TfrmMain::btnNewsClick() {}
void TfrmMain::btnUpdateClick() {}
void TfrmMain::btnHelpClick() {}
void TfrmMain::imgBannerClick() {}
void TfrmMain::gifBannerClick() {}

void TfrmMain::Timer1Timer() {
    // First of all: one tick per enabling, and no second tick inside a long-running first one.
    Timer1->stop();
}
