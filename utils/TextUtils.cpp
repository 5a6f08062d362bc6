#include "utils/TextUtils.h"

std::string AsciiUpper(std::string_view text) {
    std::string result(text);
    for (char &c : result)
        c = AsciiUpperChar(c);
    return result;
}

std::string AsciiLower(std::string_view text) {
    std::string result(text);
    for (char &c : result)
        c = AsciiLowerChar(c);
    return result;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpperChar(a[i]) != AsciiUpperChar(b[i]))
            return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t hit = text.find(from); hit != std::string_view::npos; hit = text.find(from, pos)) {
        result.append(text, pos, hit - pos);
        result.append(to);
        pos = hit + from.size();
    }
    result.append(text, pos);
    return result;
}

std::string TrimControl(std::string_view text) {
    auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isControl(text[first]))
        ++first;
    while (last > first && isControl(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
