#pragma once

#include <string>
#include <vector>

// A subcommand of vellmark-tool. Each command's file registers itself with a static
// TToolCommandRegistration, so adding a command touches no other file.
struct TToolCommand {
    std::string name;
    std::string usage;   // arguments, as shown by the help text
    std::string summary; // one line
    int (*run)(const std::vector<std::string> &arguments);
};

struct TToolCommandRegistration {
    explicit TToolCommandRegistration(TToolCommand command);
};

const std::vector<TToolCommand> &ToolCommands();
