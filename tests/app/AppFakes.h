#pragma once

#include "platform/BrowserCommand.h"
#include "platform/MessageBox.h"
#include "platform/ProgramStarter.h"

#include <functional>
#include <string>
#include <vector>

// Records every box and answers it; OnShow runs inside Show, as a modal box's event loop would.
class TRecordingMessageBox final : public IMessageBox {
public:
    struct TShown {
        TMsgKind kind;
        std::string text;
        TMsgButtons buttons;
    };
    bool Show(TMsgKind kind, const std::string &text, TMsgButtons buttons) override {
        Shown.push_back({kind, text, buttons});
        if (OnShow)
            OnShow();
        return Answer;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const TShown &shown : Shown)
            texts.push_back(shown.text);
        return texts;
    }
    std::vector<TShown> Shown;
    bool Answer = true;
    std::function<void()> OnShow;
};

class TRecordingShell final : public IShellOpener, public IProgramStarter {
public:
    bool Open(const std::string &target) override {
        Opened.push_back(target);
        return true;
    }
    bool Start(const std::string &program, const std::vector<std::string> &arguments) override {
        Started.push_back(program);
        for (const std::string &argument : arguments)
            Started.push_back(argument);
        return true;
    }
    std::vector<std::string> Opened;
    std::vector<std::string> Started;
};

class TNoBrowser final : public IBrowserCommandSource {
public:
    std::string DefaultHttpCommand() override { return {}; }
};
