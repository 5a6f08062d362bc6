#pragma once

#include <string>
#include <vector>

// Starts programs and opens documents. Never through a shell: an argument reaches the program
// exactly as given, blanks, quotes and all.
class IProgramStarter {
public:
    virtual ~IProgramStarter() = default;
    // Starts program (a path, or a name looked up in PATH) with the arguments, detached from this
    // process. True when the program was executed.
    virtual bool Start(const std::string &program, const std::vector<std::string> &arguments) = 0;
};

// The desktop's "open" action on a document or an address.
class IShellOpener {
public:
    virtual ~IShellOpener() = default;
    virtual bool Open(const std::string &target) = 0;
};

IProgramStarter &SystemProgramStarter();

// Opens targets with xdg-open through the given starter.
class TXdgShellOpener final : public IShellOpener {
public:
    explicit TXdgShellOpener(IProgramStarter &starter) : FStarter(starter) {}
    bool Open(const std::string &target) override;

private:
    IProgramStarter &FStarter;
};

IShellOpener &SystemShellOpener();
