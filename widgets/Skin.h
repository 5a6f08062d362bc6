#pragma once

#include <QString>

class QWidget;

// The skin every window of the program draws from: a Qt style sheet. The built-in one is
// compiled in; a skin loaded at start-up may replace it.
class TSkinData final {
public:
    TSkinData();

    const QString &StyleSheet() const { return FStyleSheet; }
    // An empty skin leaves the current one in force.
    void Replace(const QString &styleSheet);
    // Dialogs owned by the window inherit the skin from it.
    void Apply(QWidget &window) const;

private:
    QString FStyleSheet;
};

QString BuiltInSkin();
