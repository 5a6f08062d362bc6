#include "widgets/HtmlView.h"

#include "platform/ProgramStarter.h"
#include "widgets/TextCodec.h"

#include <QTextDocument>

THtmlView::THtmlView(IShellOpener &opener, QWidget *parent) : QTextBrowser(parent), FOpener(opener) {
    setReadOnly(true);
    setOpenLinks(false);
    document()->setDocumentMargin(8); // a browser's page margin
    connect(this, &QTextBrowser::anchorClicked, this,
            [this](const QUrl &url) { FOpener.Open(QStringToCp1252(url.toString())); });
}

void THtmlView::WriteHtml(const QString &html) {
    setHtml(html);
}

QVariant THtmlView::loadResource(int, const QUrl &) {
    // A page naming /dev/zero or a huge local file as an image must not be able to hang us.
    return {};
}
