#pragma once

#include "platform/MessageBox.h"

#include <QPointer>

class QWidget;

// The window's message box (msgMain): a modal QMessageBox over its owner window, titled like it.
class TMsgMain final : public IMessageBox {
public:
    explicit TMsgMain(QWidget *owner = nullptr) : FOwner(owner) {}
    bool Show(TMsgKind kind, const std::string &text, TMsgButtons buttons) override;

private:
    QPointer<QWidget> FOwner;
};
