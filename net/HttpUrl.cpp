#include "net/HttpUrl.h"

#include "net/HttpClient.h"
#include "utils/TextUtils.h"

#include <string_view>

namespace {

// Bytes that would break the request line or a header line; a URL holding them is refused
// rather than sent.
bool HasControlBytes(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

int ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5)
        throw ENetError("Invalid port in URL.");
    int port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            throw ENetError("Invalid port in URL.");
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535)
        throw ENetError("Invalid port in URL.");
    return port;
}

bool ValidHostByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == ':';
}

std::string DirectoryOf(std::string_view target) {
    const std::string_view path = target.substr(0, target.find('?'));
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? std::string_view("/") : path.substr(0, slash + 1));
}

} // namespace

THttpUrl ParseHttpUrl(const std::string &url) {
    std::string_view text = url;
    text = text.substr(0, text.find('#'));
    if (HasControlBytes(text))
        throw ENetError("Invalid URL.");
    const auto schemeEnd = text.find("://");
    if (schemeEnd == std::string_view::npos || schemeEnd == 0)
        throw ENetError("Invalid URL.");
    THttpUrl result;
    result.scheme = AsciiLower(text.substr(0, schemeEnd));
    text.remove_prefix(schemeEnd + 3);

    const auto authorityEnd = text.find_first_of("/?");
    std::string_view authority = text.substr(0, authorityEnd);
    std::string_view rest =
        authorityEnd == std::string_view::npos ? std::string_view() : text.substr(authorityEnd);
    // No credentials are ever sent; user information in the URL is dropped.
    if (const auto at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);

    std::string_view host;
    std::string_view port;
    if (!authority.empty() && authority.front() == '[') {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            throw ENetError("Invalid host in URL.");
        host = authority.substr(1, close - 1);
        std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':')
                throw ENetError("Invalid host in URL.");
            port = after.substr(1);
            if (port.empty())
                throw ENetError("Invalid port in URL.");
        }
    } else {
        const auto colon = authority.find(':');
        host = authority.substr(0, colon);
        if (colon != std::string_view::npos) {
            port = authority.substr(colon + 1);
            if (port.empty())
                throw ENetError("Invalid port in URL.");
        }
        if (host.find(':') != std::string_view::npos)
            throw ENetError("Invalid host in URL.");
    }
    if (host.empty())
        throw ENetError("Invalid host in URL.");
    for (const char c : host)
        if (!ValidHostByte(c))
            throw ENetError("Invalid host in URL.");
    result.host = std::string(host);

    if (result.scheme == "https")
        throw ENetError("The https scheme is not supported: this client has no TLS layer.");
    if (!port.empty())
        result.port = ParsePort(port);
    else if (result.scheme == "http")
        result.port = 80;
    else
        throw ENetError("Unknown protocol: " + result.scheme);

    if (rest.empty() || rest.front() != '/')
        result.target.append("/").append(rest);
    else
        result.target = std::string(rest);
    result.directory = DirectoryOf(result.target);
    return result;
}

THttpUrl ResolveRedirect(const THttpUrl &base, const std::string &location) {
    if (location.find("://") != std::string::npos)
        return ParseHttpUrl(location);
    std::string_view text = location;
    text = text.substr(0, text.find('#'));
    if (HasControlBytes(text))
        throw ENetError("Invalid redirect target.");
    THttpUrl result = base;
    if (text.empty())
        return result;
    if (text.front() == '/')
        result.target = std::string(text);
    else if (text.front() == '?')
        result.target = base.target.substr(0, base.target.find('?')) + std::string(text);
    else
        result.target = base.directory + std::string(text);
    result.directory = DirectoryOf(result.target);
    return result;
}

std::string HostHeaderValue(const THttpUrl &url) {
    const bool literal6 = url.host.find(':') != std::string::npos;
    std::string host = literal6 ? "[" + url.host + "]" : url.host;
    if (url.port != 80)
        host.append(":").append(std::to_string(url.port));
    return host;
}
