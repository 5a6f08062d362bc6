#include "widgets/LinkLabel.h"

#include "platform/ProgramStarter.h"
#include "widgets/TextCodec.h"

#include <QMouseEvent>

TLinkLabel::TLinkLabel(IShellOpener &opener, QWidget *parent) : QLabel(parent), FOpener(opener) {
    // Captions come from the settings file: plain text only, never markup.
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
}

void TLinkLabel::SetCaption(const std::string &caption) {
    setText(Cp1252ToQString(caption));
}

std::string TLinkLabel::Caption() const {
    return QStringToCp1252(text());
}

void TLinkLabel::enterEvent(QEnterEvent *event) {
    SetHighlighted(true);
    QLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent *event) {
    SetHighlighted(false);
    FPressed = false;
    QLabel::leaveEvent(event);
}

void TLinkLabel::mousePressEvent(QMouseEvent *event) {
    FPressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    const bool click =
        FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    FPressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        FOpener.Open(FURL); // The desktop reports its own failures; there is nothing to add here.
}

void TLinkLabel::SetHighlighted(bool highlighted) {
    if (highlighted == FHighlighted)
        return;
    FHighlighted = highlighted;
    // The label's own sheet outranks the skin's, so the highlight shows whatever the skin says.
    setStyleSheet(highlighted ? QStringLiteral("color: #0000ff;") : QString());
}
