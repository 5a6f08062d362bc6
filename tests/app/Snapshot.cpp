// Saves a picture of the main window, to look at the layout without a desktop:
//   vellmark-snapshot OUT.png [search|welcome|results]
#include "app/Application.h"
#include "app/FMain.h"
#include "widgets/Gauge.h"
#include "widgets/ListView.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    TApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [search|welcome|results]\n", argv[0]);
        return 2;
    }
    const std::string scene = argc > 2 ? argv[2] : "search";
    TMainServices services;
    if (scene == "welcome")
        services.LoadBrandingSettings = [](TfrmMain &window) {
            window.SetWelcomeHtml("<html><body><h1>Welcome to Vellmark</h1><p>Find forums that talk about "
                                  "your keyword.</p><table border=1><tr><td>One</td><td>Two</td></tr></table>"
                                  "<p><a href=\"http://example.com/\">Our offers</a></p></body></html>");
        };
    TfrmMain window(services);
    if (scene == "results") {
        for (int i = 1; i <= 12; ++i)
            window.lvwResults->AddRow(
                {QString::number(i), QStringLiteral("Forum number %1 about gardening").arg(i),
                 QStringLiteral("http://forum%1.example.com").arg(i), QStringLiteral("gardening")});
        window.lvwResults->selectRow(2);
        window.MainStatusPanel->setText(
            QStringLiteral("Getting URL: http://www.google.com/search?q=%22gardening%22..."));
        window.SecondStatusPanel->setText(QStringLiteral("12 items"));
        window.MainGauge->SetMaxValue(1000);
        window.MainGauge->SetValue(420);
    }
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
