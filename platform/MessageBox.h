#pragma once

#include <string>

enum class TMsgKind { Warning, Information };
enum class TMsgButtons { Ok, OkCancel };

// Every question to the user goes through this seam (the window's msgMain), so tests can answer.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Shows a modal box; true when the user answered OK.
    virtual bool Show(TMsgKind kind, const std::string &text, TMsgButtons buttons) = 0;
};
