// vellmark-tool: the command-line companion for developers and resellers.
#include "tools/ToolCommand.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

std::vector<TToolCommand> &Registry() {
    static std::vector<TToolCommand> commands;
    return commands;
}

void PrintUsage(std::FILE *out) {
    std::fprintf(out, "usage: vellmark-tool COMMAND ARGUMENTS...\n\ncommands:\n");
    std::vector<TToolCommand> commands = ToolCommands();
    std::sort(commands.begin(), commands.end(),
              [](const TToolCommand &a, const TToolCommand &b) { return a.name < b.name; });
    for (const TToolCommand &command : commands)
        std::fprintf(out, "  %s %s\n      %s\n", command.name.c_str(), command.usage.c_str(),
                     command.summary.c_str());
}

} // namespace

TToolCommandRegistration::TToolCommandRegistration(TToolCommand command) {
    Registry().push_back(std::move(command));
}

const std::vector<TToolCommand> &ToolCommands() {
    return Registry();
}

int main(int argc, char **argv) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    const auto &commands = ToolCommands();
    const auto command =
        std::find_if(commands.begin(), commands.end(), [&](const TToolCommand &c) { return c.name == name; });
    if (command == commands.end()) {
        std::fprintf(stderr, "vellmark-tool: unknown command '%s'\n\n", name.c_str());
        PrintUsage(stderr);
        return 2;
    }
    try {
        return command->run(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellmark-tool %s: %s\n", name.c_str(), error.what());
        return 1;
    }
}
