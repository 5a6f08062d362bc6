#pragma once

#include <QApplication>

// The application object. Every event passes through notify, so an error that escapes any event
// handler is caught here and handed to the crash reporter; it never unwinds into Qt's event loop.
class TApplication final : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
