#include "platform/BrowserCommand.h"
#include "platform/ProgramStarter.h"
#include "utils/UUtils.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <unistd.h>

namespace {

TEST(BrowserProgramFromCommand, Table) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"("C:\Program Files\Web Browser\browser.exe" -nohome "%1")",
         R"(c:\program files\web browser\browser.exe)"},
        {R"(C:\PROGRA~1\IE\IEXPLORE.EXE -nohome)", R"(c:\progra~1\ie\iexplore.exe)"},
        {"firefox-esr %u", "firefox-esr"},
        {"/usr/bin/Chromium --new-window %U", "/usr/bin/Chromium"},
        {R"("/opt/My Browser/run" %u)", "/opt/My Browser/run"},
        {R"(/opt/My\ Browser/run %u)", "/opt/My Browser/run"},
        {"  epiphany", "epiphany"},
    };
    for (const auto &[command, program] : cases)
        EXPECT_EQ(BrowserProgramFromCommand(command), program) << command;
}

class TFakeBrowsers final : public IBrowserCommandSource {
public:
    std::string command;
    std::string DefaultHttpCommand() override { return command; }
};

class TRecordingStarter final : public IProgramStarter {
public:
    struct TStart {
        std::string program;
        std::vector<std::string> arguments;
    };
    std::vector<TStart> starts;
    bool Start(const std::string &program, const std::vector<std::string> &arguments) override {
        starts.push_back({program, arguments});
        return false; // a failed start is not reported by OpenUrlInBrowser
    }
};

TEST(OpenUrlInBrowser, AddressIsTheOnlyArgumentUnchanged) {
    TFakeBrowsers browsers;
    browsers.command = R"("C:\Program Files\Web Browser\browser.exe" -nohome "%1")";
    for (const std::string address : {"http://a b/c;d$(rm -rf x)'\"", "", "http://host/x?y=1&z=2"}) {
        TRecordingStarter starter;
        EXPECT_TRUE(OpenUrlInBrowser(address, browsers, starter));
        ASSERT_EQ(starter.starts.size(), 1u);
        EXPECT_EQ(starter.starts[0].program, R"(c:\program files\web browser\browser.exe)");
        EXPECT_EQ(starter.starts[0].arguments, std::vector<std::string>{address});
    }
}

TEST(OpenUrlInBrowser, NoRegisteredBrowserStartsNothing) {
    TFakeBrowsers browsers;
    TRecordingStarter starter;
    EXPECT_FALSE(OpenUrlInBrowser("http://x/", browsers, starter));
    EXPECT_TRUE(starter.starts.empty());
}

// The real starter must hand each argument over verbatim: a shell would split or expand these.
TEST(SystemProgramStarter, ArgumentsReachProgramVerbatim) {
    TTempDir dir;
    const std::string script = dir.File("record.sh");
    const std::string out = dir.File("args.txt");
    {
        std::ofstream s(script);
        s << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << out << ".tmp'\nmv '" << out
          << ".tmp' '" << out << "'\n";
    }
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const std::string hostile = "http://x/a b;echo pwned $(id) `id` \"q\" 'r'";
    ASSERT_TRUE(SystemProgramStarter().Start(script, {hostile, ""}));
    for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i)
        usleep(10000);
    std::ifstream in(out);
    std::string first, second;
    ASSERT_TRUE(std::getline(in, first));
    EXPECT_EQ(first, hostile);
    EXPECT_TRUE(std::getline(in, second));
    EXPECT_EQ(second, "");
    EXPECT_FALSE(SystemProgramStarter().Start(dir.File("missing"), {}));
}

class XdgBrowserLookup : public ::testing::Test {
protected:
    TTempDir dir;
    std::map<std::string, std::string> env;

    void Write(const std::string &relative, const std::string &text) {
        const std::filesystem::path path = dir.Path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    std::string Lookup() {
        TXdgBrowserCommandSource source([this](const char *name) {
            const auto it = env.find(name);
            return it == env.end() ? std::string() : it->second;
        });
        return source.DefaultHttpCommand();
    }
    void SetUp() override {
        env["XDG_CONFIG_HOME"] = dir.File("config");
        env["XDG_CONFIG_DIRS"] = dir.File("etc");
        env["XDG_DATA_HOME"] = dir.File("data");
        env["XDG_DATA_DIRS"] = dir.File("share");
    }
};

TEST_F(XdgBrowserLookup, UserDefaultWinsAndYieldsExecLine) {
    Write("share/applications/system.desktop", "[Desktop Entry]\nExec=system-browser %u\n");
    Write("share/applications/mine.desktop",
          "[Desktop Entry]\nName=Mine\nExec=/opt/mine/bin/mine --x %U\n[Desktop Action new]\nExec=other\n");
    Write("etc/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=system.desktop\n");
    Write("config/mimeapps.list",
          "[Added Associations]\nx-scheme-handler/http=system.desktop\n"
          "[Default Applications]\ntext/html=x.desktop\nx-scheme-handler/http=gone.desktop;mine.desktop;\n");
    EXPECT_EQ(Lookup(), "/opt/mine/bin/mine --x %U");
}

TEST_F(XdgBrowserLookup, FallsBackToSystemListsAndDefaultsList) {
    Write("share/applications/defaults.list", "[Default Applications]\nx-scheme-handler/http=b.desktop\n");
    Write("share/applications/b.desktop", "[Desktop Entry]\r\nExec=b-browser\r\n");
    EXPECT_EQ(Lookup(), "b-browser");
}

TEST_F(XdgBrowserLookup, NothingRegistered) {
    EXPECT_EQ(Lookup(), "");
    Write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=../evil.desktop\n");
    EXPECT_EQ(Lookup(), "");
}

} // namespace
