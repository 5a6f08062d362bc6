#include "net/CookieStore.h"

#include "utils/TextUtils.h"

#include <algorithm>
#include <cstdint>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits only, at most 18 of them, so the value always fits.
std::optional<std::int64_t> ParseDigits(std::string_view text) {
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

int MonthIndex(std::string_view word) {
    static constexpr std::string_view months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                  "jul", "aug", "sep", "oct", "nov", "dec"};
    if (word.size() < 3)
        return -1;
    const std::string lower = AsciiLower(word.substr(0, 3));
    for (int i = 0; i < 12; ++i)
        if (lower == months[i])
            return i;
    return -1;
}

bool ParseTime(std::string_view word, int &hour, int &minute, int &second) {
    if (word.size() != 8 || word[2] != ':' || word[5] != ':')
        return false;
    const auto h = ParseDigits(word.substr(0, 2));
    const auto m = ParseDigits(word.substr(3, 2));
    const auto s = ParseDigits(word.substr(6, 2));
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 60)
        return false;
    hour = static_cast<int>(*h);
    minute = static_cast<int>(*m);
    second = static_cast<int>(*s);
    return true;
}

} // namespace

std::optional<std::time_t> ParseCookieDate(std::string_view text) {
    int day = -1, month = -1, year = -1, hour = -1, minute = 0, second = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find_first_of(" ,-\t", pos);
        const std::string_view word = text.substr(pos, end == std::string_view::npos ? text.npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (word.empty())
            continue;
        if (hour < 0 && ParseTime(word, hour, minute, second))
            continue;
        if (const auto number = ParseDigits(word)) {
            if (day < 0 && word.size() <= 2 && *number >= 1 && *number <= 31)
                day = static_cast<int>(*number);
            else if (year < 0 && (word.size() == 2 || word.size() == 4))
                year = static_cast<int>(*number);
            continue;
        }
        if (month < 0) {
            const int index = MonthIndex(word);
            if (index >= 0)
                month = index;
        }
    }
    if (day < 0 || month < 0 || year < 0 || hour < 0)
        return std::nullopt;
    if (year < 70)
        year += 2000;
    else if (year < 100)
        year += 1900;
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    return timegm(&parts);
}

void TCookieStore::Store(std::string_view headerValue, const std::string &host, const std::string &directory,
                         std::time_t now) {
    std::size_t pos = headerValue.find(';');
    const std::string_view pair = headerValue.substr(0, pos);
    const auto equals = pair.find('=');
    if (equals == std::string_view::npos)
        return;
    TCookie cookie;
    cookie.name = std::string(TrimBlanks(pair.substr(0, equals)));
    std::string_view value = TrimBlanks(pair.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    cookie.value = std::string(value);
    if (cookie.name.empty())
        return;
    cookie.domain = AsciiLower(host);
    cookie.path = directory;

    std::optional<std::time_t> maxAgeExpiry;
    while (pos != std::string_view::npos) {
        const std::size_t start = pos + 1;
        pos = headerValue.find(';', start);
        const std::string_view attribute =
            headerValue.substr(start, pos == std::string_view::npos ? headerValue.npos : pos - start);
        const auto eq = attribute.find('=');
        const std::string_view name = TrimBlanks(attribute.substr(0, eq));
        const std::string_view attributeValue =
            eq == std::string_view::npos ? "" : TrimBlanks(attribute.substr(eq + 1));
        if (EqualsNoCase(name, "secure")) {
            cookie.secure = true;
        } else if (EqualsNoCase(name, "path")) {
            if (!attributeValue.empty() && attributeValue.front() == '/')
                cookie.path = std::string(attributeValue);
        } else if (EqualsNoCase(name, "domain")) {
            std::string domain = AsciiLower(attributeValue);
            if (!domain.empty() && domain.front() == '.')
                domain.erase(0, 1);
            // A server may widen a cookie to a domain its own host lies in, never to another one.
            if (domain.empty() || cookie.domain.find(domain) == std::string::npos)
                return;
            cookie.domain = domain;
        } else if (EqualsNoCase(name, "expires")) {
            if (const auto when = ParseCookieDate(attributeValue))
                cookie.expires = *when;
        } else if (EqualsNoCase(name, "max-age")) {
            const bool negative = !attributeValue.empty() && attributeValue.front() == '-';
            if (const auto seconds = ParseDigits(negative ? attributeValue.substr(1) : attributeValue))
                maxAgeExpiry =
                    negative ? now - 1
                             : now + static_cast<std::time_t>(std::min<std::int64_t>(*seconds, 1LL << 40));
        }
    }
    if (maxAgeExpiry)
        cookie.expires = maxAgeExpiry;

    const auto same = std::find_if(FCookies.begin(), FCookies.end(), [&](const TCookie &c) {
        return c.name == cookie.name && c.domain == cookie.domain && c.path == cookie.path;
    });
    if (same != FCookies.end())
        FCookies.erase(same);
    if (cookie.expires && *cookie.expires <= now)
        return; // an expiry in the past deletes the cookie
    if (FCookies.size() >= MaxCookies)
        FCookies.erase(FCookies.begin());
    FCookies.push_back(std::move(cookie));
}

std::string TCookieStore::CookieHeader(const std::string &host, const std::string &directory,
                                       std::time_t now) {
    std::erase_if(FCookies, [&](const TCookie &c) { return c.expires && *c.expires <= now; });
    const std::string lowerHost = AsciiLower(host);
    std::string header;
    for (const TCookie &cookie : FCookies) {
        if (cookie.secure || cookie.value.empty())
            continue;
        if (lowerHost.find(cookie.domain) == std::string::npos)
            continue;
        if (directory.compare(0, cookie.path.size(), cookie.path) != 0)
            continue;
        if (!header.empty())
            header += "; ";
        header += cookie.name;
        header += '=';
        header += cookie.value;
    }
    return header;
}
