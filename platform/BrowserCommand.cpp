#include "platform/BrowserCommand.h"

#include "utils/TextLines.h"
#include "utils/TextUtils.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr std::size_t MaxConfigFileBytes = 1 << 20;

std::vector<std::string> SplitList(const std::string &text, char separator) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

// The value of key in [section] of an INI-style desktop file, or empty.
std::string ReadKey(const std::string &path, const std::string &section, const std::string &key) {
    std::vector<std::string> lines;
    try {
        lines = ReadFileLines(path, MaxConfigFileBytes);
    } catch (const std::exception &) {
        return {};
    }
    bool inSection = false;
    for (const std::string &raw : lines) {
        const std::string_view line = TrimBlanks(raw);
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + section + "]";
            continue;
        }
        if (!inSection)
            continue;
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && TrimBlanks(line.substr(0, equals)) == key)
            return std::string(TrimBlanks(line.substr(equals + 1)));
    }
    return {};
}

} // namespace

TXdgBrowserCommandSource::TXdgBrowserCommandSource(TEnvironment environment)
    : FEnvironment(std::move(environment)) {
    if (!FEnvironment)
        FEnvironment = [](const char *name) {
            const char *value = std::getenv(name);
            return std::string(value ? value : "");
        };
}

std::string TXdgBrowserCommandSource::DefaultHttpCommand() {
    const std::string home = FEnvironment("HOME");
    std::string configHome = FEnvironment("XDG_CONFIG_HOME");
    if (configHome.empty() && !home.empty())
        configHome = home + "/.config";
    std::string dataHome = FEnvironment("XDG_DATA_HOME");
    if (dataHome.empty() && !home.empty())
        dataHome = home + "/.local/share";
    std::string configDirs = FEnvironment("XDG_CONFIG_DIRS");
    if (configDirs.empty())
        configDirs = "/etc/xdg";
    std::string dataDirs = FEnvironment("XDG_DATA_DIRS");
    if (dataDirs.empty())
        dataDirs = "/usr/local/share:/usr/share";

    std::vector<std::string> applicationDirs;
    if (!dataHome.empty())
        applicationDirs.push_back(dataHome + "/applications");
    for (const std::string &dir : SplitList(dataDirs, ':'))
        applicationDirs.push_back(dir + "/applications");

    // The XDG lookup order for default applications; defaults.list last, as the
    // older name some distributions still ship.
    std::vector<std::string> lists;
    if (!configHome.empty())
        lists.push_back(configHome + "/mimeapps.list");
    for (const std::string &dir : SplitList(configDirs, ':'))
        lists.push_back(dir + "/mimeapps.list");
    for (const std::string &dir : applicationDirs)
        lists.push_back(dir + "/mimeapps.list");
    for (const std::string &dir : applicationDirs)
        lists.push_back(dir + "/defaults.list");

    for (const std::string &list : lists) {
        const std::string handlers = ReadKey(list, "Default Applications", "x-scheme-handler/http");
        for (const std::string &desktopId : SplitList(handlers, ';')) {
            if (desktopId.find('/') != std::string::npos)
                continue;
            for (const std::string &dir : applicationDirs) {
                const std::string desktopFile = dir + "/" + desktopId;
                std::error_code error;
                if (!std::filesystem::is_regular_file(desktopFile, error))
                    continue;
                const std::string exec = ReadKey(desktopFile, "Desktop Entry", "Exec");
                if (!exec.empty())
                    return exec;
            }
        }
    }
    return {};
}

IBrowserCommandSource &SystemBrowserCommandSource() {
    static TXdgBrowserCommandSource source;
    return source;
}
