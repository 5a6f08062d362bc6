#include "widgets/MsgMain.h"

#include "widgets/TextCodec.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

bool TMsgMain::Show(TMsgKind kind, const std::string &text, TMsgButtons buttons) {
    QWidget *owner = FOwner ? FOwner->window() : nullptr;
    const QString title = owner && !owner->windowTitle().isEmpty() ? owner->windowTitle()
                                                                   : QApplication::applicationDisplayName();
    QMessageBox box(
        kind == TMsgKind::Warning ? QMessageBox::Warning : QMessageBox::Information, title,
        Cp1252ToQString(text),
        buttons == TMsgButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, owner);
    // Texts come from servers and files: never let them be taken as rich text.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(buttons == TMsgButtons::OkCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}
