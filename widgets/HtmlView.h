#pragma once

#include <QTextBrowser>

class IShellOpener;

// An HTML view in browse mode: shows a complete HTML text read-only. The text comes from the
// settings file or a server, so the view loads nothing by itself: no local files, no network.
// A click on a link hands its address to the desktop's "open" action.
class THtmlView final : public QTextBrowser {
    Q_OBJECT
public:
    THtmlView(IShellOpener &opener, QWidget *parent = nullptr);

    // Replaces the whole document with html.
    void WriteHtml(const QString &html);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    IShellOpener &FOpener;
};
