#include "platform/ProgramStarter.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Resolves a bare name through PATH in the parent, so the child only has to call execv.
std::string ResolveProgram(const std::string &program) {
    if (program.empty() || program.find('/') != std::string::npos)
        return program;
    const char *path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        // An empty PATH entry means the current directory.
        const std::filesystem::path dir = end > start ? dirs.substr(start, end - start) : std::string(".");
        const std::string candidate = (dir / program).string();
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

class TForkProgramStarter final : public IProgramStarter {
public:
    bool Start(const std::string &program, const std::vector<std::string> &arguments) override {
        const std::string resolved = ResolveProgram(program);
        if (resolved.empty())
            return false;

        std::vector<std::string> storage;
        storage.reserve(arguments.size() + 1);
        storage.push_back(program);
        storage.insert(storage.end(), arguments.begin(), arguments.end());
        std::vector<char *> argv;
        for (std::string &s : storage)
            argv.push_back(s.data());
        argv.push_back(nullptr);

        // The grandchild reports a failed exec through this pipe; a clean exec closes it.
        int report[2];
        if (pipe2(report, O_CLOEXEC) != 0)
            return false;

        const pid_t child = fork();
        if (child < 0) {
            close(report[0]);
            close(report[1]);
            return false;
        }
        if (child == 0) {
            // Double fork: the program is adopted by init, so we never leave a zombie.
            setsid();
            const pid_t grandchild = fork();
            if (grandchild > 0)
                _exit(0);
            if (grandchild == 0)
                execv(resolved.c_str(), argv.data());
            const int error = errno;
            [[maybe_unused]] ssize_t n = write(report[1], &error, sizeof error);
            _exit(127);
        }
        close(report[1]);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        int error = 0;
        ssize_t n;
        do {
            n = read(report[0], &error, sizeof error);
        } while (n < 0 && errno == EINTR);
        close(report[0]);
        return n == 0;
    }
};

} // namespace

IProgramStarter &SystemProgramStarter() {
    static TForkProgramStarter starter;
    return starter;
}

bool TXdgShellOpener::Open(const std::string &target) {
    return FStarter.Start("xdg-open", {target});
}

IShellOpener &SystemShellOpener() {
    static TXdgShellOpener opener(SystemProgramStarter());
    return opener;
}
