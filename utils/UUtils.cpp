#include "utils/UUtils.h"

#include "platform/BrowserCommand.h"
#include "platform/ProgramStarter.h"
#include "utils/TextUtils.h"
#include "utils/WorkBuffer.h"

#include <algorithm>

std::string ExtractBetween(std::string_view openMarker, std::string_view closeMarker, int offset,
                           TWorkBuffer &buffer) {
    const std::size_t open = buffer.FindFolded(openMarker);
    if (open == TWorkBuffer::npos)
        return {};
    const std::size_t skip = static_cast<std::size_t>(std::max(offset, 0));
    buffer.Consume(open + openMarker.size() + skip);

    const std::size_t close = buffer.FindFolded(closeMarker);
    if (close == TWorkBuffer::npos)
        return {};
    std::string result(buffer.View().substr(0, close));
    buffer.Consume(close + skip);
    return result;
}

void SplitBySeparator(char separator, std::string_view text, std::vector<std::string> &list) {
    list.clear();
    std::string field;
    for (char c : text) {
        if (c == separator) {
            list.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty())
        list.push_back(std::move(field));
}

std::string DecodeHexEscapes(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '$') {
            result += text[i++];
            continue;
        }
        const std::string_view digits = text.substr(i + 1, 2);
        if (digits.empty())
            return {};
        int value = 0;
        for (char c : digits) {
            const int digit = HexDigitValue(c);
            if (digit < 0)
                return {};
            value = value * 16 + digit;
        }
        result += static_cast<char>(value);
        i += 1 + digits.size();
    }
    return result;
}

namespace {

// The first word of a command line; double or single quotes group blanks, a backslash escapes
// the next character (the desktop-entry Exec rules, as far as a program path needs them).
std::string FirstWord(std::string_view command) {
    std::string word;
    std::size_t i = command.find_first_not_of(" \t");
    char quote = 0;
    for (; i < command.size(); ++i) {
        const char c = command[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            else if (c == '\\' && quote == '"' && i + 1 < command.size())
                word += command[++i];
            else
                word += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ' ' || c == '\t') {
            break;
        } else if (c == '\\' && i + 1 < command.size()) {
            word += command[++i];
        } else {
            word += c;
        }
    }
    return word;
}

} // namespace

std::string BrowserProgramFromCommand(std::string_view command) {
    const std::string lower = AsciiLower(command);
    const std::size_t exe = lower.find(".exe");
    if (exe == std::string::npos)
        return FirstWord(command);
    std::string program = lower.substr(0, exe) + ".exe";
    program.erase(std::remove(program.begin(), program.end(), '"'), program.end());
    return program;
}

bool OpenUrlInBrowser(const std::string &address, IBrowserCommandSource &browsers, IProgramStarter &starter) {
    const std::string command = browsers.DefaultHttpCommand();
    if (command.empty())
        return false;
    starter.Start(BrowserProgramFromCommand(command), {address});
    return true;
}

bool OpenUrlInBrowser(const std::string &address) {
    return OpenUrlInBrowser(address, SystemBrowserCommandSource(), SystemProgramStarter());
}
