#include "app/Application.h"

#include "app/CrashReporter.h"

#include <QFont>
#include <QStyleFactory>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vellmark"));
    // The skin is a style sheet over Fusion, the one style that looks the same on every desktop.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(fusion);
    // Small and compact like the classic desktop font the layout's fixed sizes were made for.
    QFont compact(QStringLiteral("DejaVu Sans"));
    compact.setPixelSize(11);
    setFont(compact);
}

bool TApplication::notify(QObject *receiver, QEvent *event) {
    // The safety net under every handler: an error reported here leaves the event undelivered.
    bool delivered = false;
    RunGuarded([&] { delivered = QApplication::notify(receiver, event); });
    return delivered;
}
