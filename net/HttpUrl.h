#pragma once

#include <string>

// A URL taken apart the way the client sends it: the request target is the path, document and
// query exactly as written (nothing encoded or decoded), the fragment dropped.
struct THttpUrl {
    std::string scheme;    // lower-cased
    std::string host;      // as written, without brackets for an IPv6 literal
    int port = 0;          // explicit or the scheme's default
    std::string directory; // the path up to and including its last '/'
    std::string target;    // path, document and query; always begins with '/'
};

// Throws ENetError for a URL that cannot be requested: no "://", an empty or malformed host,
// a bad port, control bytes, "https" (no TLS layer here), or another scheme without a port.
THttpUrl ParseHttpUrl(const std::string &url);

// Resolves a redirect's Location against the request it answered. A target holding "://" stands
// on its own; any other is taken relative to the previous scheme, host, port and directory.
THttpUrl ResolveRedirect(const THttpUrl &base, const std::string &location);

// The Host header value: the host, with ":" and the port unless the port is 80.
std::string HostHeaderValue(const THttpUrl &url);
