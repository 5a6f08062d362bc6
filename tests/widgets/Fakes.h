#pragma once

#include "platform/ProgramStarter.h"

#include <string>
#include <vector>

// Records what would have been opened by the desktop.
class TRecordingShellOpener final : public IShellOpener {
public:
    bool Open(const std::string &target) override {
        Opened.push_back(target);
        return true;
    }
    std::vector<std::string> Opened;
};
