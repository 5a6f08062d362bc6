// The settings container on file level: the only entry points the rest of the program uses.
#include "branding/AesLib.h"
#include "utils/TextLines.h"
#include "utils/UUtils.h"

#include <fstream>

namespace {

constexpr char BuiltInPassword[] = "qpwzmxnvkt";
constexpr std::uint32_t ContainerChunkSize = 262144;

std::ifstream OpenInput(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        throw EFileError("cannot open " + path);
    return in;
}

std::ofstream CreateOutput(const std::string &path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.is_open())
        throw EFileError("cannot create " + path);
    return out;
}

} // namespace

bool DecryptToFile(const std::string &containerPath, const std::string &plainPath) {
    std::ifstream in = OpenInput(containerPath);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || !in)
        throw EFileError("cannot read " + containerPath);
    std::ofstream out = CreateOutput(plainPath);
    TEncryption cipher(BuiltInPassword, ContainerChunkSize);
    const bool ok = cipher.DecryptStream(in, out, static_cast<std::int64_t>(size));
    out.close();
    return ok && !out.fail();
}

bool EncryptToFile(const std::string &plainPath, const std::string &containerPath) {
    std::ifstream in = OpenInput(plainPath);
    std::ofstream out = CreateOutput(containerPath);
    TEncryption cipher(BuiltInPassword, ContainerChunkSize);
    const bool ok = cipher.EncryptStream(in, out);
    out.close();
    return ok && !out.fail();
}
