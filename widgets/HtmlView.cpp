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

QVariant THtmlView::loadResource(int, const QUrl &name) {
    // A data: address carries its bytes in the page itself; the document decodes it.
    if (name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0)
        return {};
    // Anything else would be read from disk by the document when we answer null: a page naming
    // /dev/zero or a private file must not make us read it. An empty answer loads nothing.
    return QByteArray();
}
