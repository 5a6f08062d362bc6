// encrypt / decrypt: how a reseller brands a copy (settings text -> dbsettings.dat) and reads one
// back. Output goes to a temporary file beside the target and is renamed into place only on
// success, so a failure never leaves a partial or empty file behind.
#include "branding/AesLib.h"
#include "tools/ToolCommand.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char BuiltInPassword[] = "qpwzmxnvkt";
constexpr std::uint32_t ChunkSize = 262144;

// A fresh temporary file in the target's directory; removed unless Commit() renamed it.
class TPendingOutput final {
public:
    explicit TPendingOutput(const std::string &target) : FTarget(target) {
        const std::filesystem::path targetPath(target);
        const std::filesystem::path dir = targetPath.has_parent_path() ? targetPath.parent_path() : ".";
        std::string hiddenName = ".";
        hiddenName.append(targetPath.filename().string()).append(".XXXXXX");
        std::string pattern = (dir / hiddenName).string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0)
            return;
        // mkstemp makes the file private; give it the mode a plainly created file would have.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
        close(fd);
        FTemp = pattern;
        FStream.open(FTemp, std::ios::binary | std::ios::trunc);
    }
    ~TPendingOutput() {
        if (!FTemp.empty()) {
            FStream.close();
            std::remove(FTemp.c_str());
        }
    }
    TPendingOutput(const TPendingOutput &) = delete;
    TPendingOutput &operator=(const TPendingOutput &) = delete;

    bool IsOpen() const { return FStream.is_open(); }
    std::ofstream &Stream() { return FStream; }

    bool Commit() {
        FStream.close();
        if (FStream.fail())
            return false;
        std::error_code error;
        std::filesystem::rename(FTemp, FTarget, error);
        if (error)
            return false;
        FTemp.clear();
        return true;
    }

private:
    std::string FTarget;
    std::string FTemp;
    std::ofstream FStream;
};

int Fail(const char *command, const std::string &message) {
    std::fprintf(stderr, "vellmark-tool %s: %s\n", command, message.c_str());
    return 1;
}

int RunEncrypt(const std::vector<std::string> &arguments) {
    if (arguments.size() != 2)
        return Fail("encrypt", "usage: encrypt PLAIN CONTAINER");
    std::ifstream in(arguments[0], std::ios::binary);
    if (!in.is_open())
        return Fail("encrypt", "cannot open " + arguments[0]);
    TPendingOutput out(arguments[1]);
    if (!out.IsOpen())
        return Fail("encrypt", "cannot create a file beside " + arguments[1]);
    TEncryption cipher(BuiltInPassword, ChunkSize);
    if (!cipher.EncryptStream(in, out.Stream()))
        return Fail("encrypt", "reading " + arguments[0] + " or writing " + arguments[1] + " failed");
    if (!out.Commit())
        return Fail("encrypt", "cannot write " + arguments[1]);
    return 0;
}

int RunDecrypt(const std::vector<std::string> &arguments) {
    if (arguments.size() != 2)
        return Fail("decrypt", "usage: decrypt CONTAINER PLAIN");
    std::ifstream in(arguments[0], std::ios::binary);
    if (!in.is_open())
        return Fail("decrypt", "cannot open " + arguments[0]);
    std::error_code error;
    const auto size = std::filesystem::file_size(arguments[0], error);
    if (error)
        return Fail("decrypt", "cannot read " + arguments[0]);
    TPendingOutput out(arguments[1]);
    if (!out.IsOpen())
        return Fail("decrypt", "cannot create a file beside " + arguments[1]);
    TEncryption cipher(BuiltInPassword, ChunkSize);
    if (!cipher.DecryptStream(in, out.Stream(), static_cast<std::int64_t>(size))) {
        switch (cipher.Status()) {
        case TCryptStatus::BadHeader:
            return Fail("decrypt", "wrong password or damaged header in " + arguments[0]);
        case TCryptStatus::BadCode:
            return Fail("decrypt", "authentication code mismatch: " + arguments[0] + " is damaged");
        case TCryptStatus::Truncated:
            return Fail("decrypt", arguments[0] + " is truncated or too short to be a container");
        default:
            return Fail("decrypt", "reading " + arguments[0] + " or writing " + arguments[1] + " failed");
        }
    }
    if (!out.Commit())
        return Fail("decrypt", "cannot write " + arguments[1]);
    return 0;
}

const TToolCommandRegistration encryptCommand({"encrypt", "PLAIN CONTAINER",
                                               "encrypt a settings text into a container (dbsettings.dat)",
                                               RunEncrypt});
const TToolCommandRegistration
    decryptCommand({"decrypt", "CONTAINER PLAIN",
                    "decrypt a settings container and check its authentication code", RunDecrypt});

} // namespace
