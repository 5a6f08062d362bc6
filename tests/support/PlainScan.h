#pragma once

// The result scan written as directly as possible on a std::string that is searched, copied and
// cut on every step: the reference the real, remembering scan is checked against.

#include "search/ResultExtraction.h"
#include "utils/TextUtils.h"

#include <optional>
#include <string>

// ExtractBetween with offset 0.
inline std::string PlainExtract(const std::string &open, const std::string &close, std::string &buffer) {
    const std::size_t openAt = AsciiUpper(buffer).find(AsciiUpper(open));
    if (openAt == std::string::npos)
        return {};
    buffer.erase(0, openAt + open.size());
    const std::size_t closeAt = AsciiUpper(buffer).find(AsciiUpper(close));
    if (closeAt == std::string::npos)
        return {};
    std::string result = buffer.substr(0, closeAt);
    buffer.erase(0, closeAt);
    return result;
}

// Taking the next candidate, step by step.
inline std::optional<TCandidate> PlainTake(std::string &page, const std::string &imagePrefix) {
    const std::string attributes = PlainExtract("<li class=g", ">", page);
    if (attributes.find('b') != std::string::npos)
        return std::nullopt;
    PlainExtract(">", "href=\"", page);
    std::string link = PlainExtract("href=\"", "\"", page);
    if (!link.empty() && link.back() == '/')
        link.pop_back();
    const std::string anchor = PlainExtract(">", "</a>", page);
    if (!StartsWithNoCase(link, "http://") || StartsWithNoCase(link, imagePrefix))
        return std::nullopt;
    return TCandidate{link, CleanTitle(anchor)};
}
