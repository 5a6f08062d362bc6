#pragma once

#include <functional>
#include <string>

// Where the default web browser's command comes from (on Windows, the registry's
// http\shell\open\command value).
class IBrowserCommandSource {
public:
    virtual ~IBrowserCommandSource() = default;
    // The command line that starts the default browser, or empty when none is registered.
    virtual std::string DefaultHttpCommand() = 0;
};

// Reads the desktop's default handler of x-scheme-handler/http from the XDG mimeapps.list files
// and yields the Exec line of its desktop file.
class TXdgBrowserCommandSource final : public IBrowserCommandSource {
public:
    using TEnvironment = std::function<std::string(const char *name)>;
    // The environment lookup is injectable so tests can point the XDG directories at a fixture.
    explicit TXdgBrowserCommandSource(TEnvironment environment = {});
    std::string DefaultHttpCommand() override;

private:
    TEnvironment FEnvironment;
};

IBrowserCommandSource &SystemBrowserCommandSource();
