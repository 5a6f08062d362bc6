#include "app/Application.h"

#include "app/CrashReporter.h"

#include <QFont>
#include <QStyleFactory>

#include <string>

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
    std::string error;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        try {
            error = TCrashReporter::CurrentExceptionText();
        } catch (...) {
            error = "Unknown error";
        }
    }
    // Shown only now, with the failed handler unwound: the box runs its own event loop.
    TCrashReporter::Report(error);
    return false;
}
