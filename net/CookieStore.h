#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One client's cookies, in memory only. A cookie's domain must occur within the host that set it;
// it is sent back to every host its domain occurs within, for request directories its path is a
// prefix of, unless its value is empty or it is marked secure (the client has no TLS).
class TCookieStore final {
public:
    static constexpr std::size_t MaxCookies = 300;

    // Stores the cookie of one Set-cookie or Set-cookie2 header value received from host for a
    // request in directory. now is seconds since the epoch (UTC).
    void Store(std::string_view headerValue, const std::string &host, const std::string &directory,
               std::time_t now);
    // Drops the expired cookies, then joins the applicable ones as name=value pairs with "; ".
    std::string CookieHeader(const std::string &host, const std::string &directory, std::time_t now);

    std::size_t Size() const { return FCookies.size(); }

private:
    struct TCookie {
        std::string name;
        std::string value;
        std::string domain; // lower-case
        std::string path;
        std::optional<std::time_t> expires;
        bool secure = false;
    };
    std::vector<TCookie> FCookies;
};

// Parses the date forms seen in Expires attributes (RFC 1123, RFC 850, asctime); empty when the
// text is not a date.
std::optional<std::time_t> ParseCookieDate(std::string_view text);
