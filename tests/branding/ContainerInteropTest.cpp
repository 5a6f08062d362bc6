// The container is the data block of one WinZip AES zip entry: a block written by 7-Zip must
// decrypt, and a container of ours wrapped in a zip entry must extract with 7-Zip.
#include "branding/AesLib.h"
#include "tests/branding/ContainerTestSupport.h"
#include "tests/support/TempDir.h"
#include "utils/TextLines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace containertest;

namespace {

const std::string Password = "qpwzmxnvkt";

std::uint32_t Le(const std::string &data, std::size_t offset, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(data.at(offset + static_cast<std::size_t>(i)));
    return value;
}

void PutLe(std::string &out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

struct TZipEntry {
    std::string name;
    std::uint16_t method = 0;
    std::uint16_t aeVersion = 0;
    int aeStrength = 0;
    std::uint16_t actualMethod = 0;
    std::string data;
};

// The first entry of a zip file, from its local header and the AES extra field 0x9901.
TZipEntry FirstEntry(const std::string &zip) {
    TZipEntry entry;
    EXPECT_EQ(Le(zip, 0, 4), 0x04034b50u);
    EXPECT_EQ(Le(zip, 6, 2) & 0x0008u, 0u) << "sizes must be in the local header";
    entry.method = static_cast<std::uint16_t>(Le(zip, 8, 2));
    const std::uint32_t compressedSize = Le(zip, 18, 4);
    const std::uint32_t nameLength = Le(zip, 26, 2);
    const std::uint32_t extraLength = Le(zip, 28, 2);
    entry.name = zip.substr(30, nameLength);
    for (std::size_t at = 30 + nameLength; at + 4 <= 30 + nameLength + extraLength;) {
        const std::uint32_t id = Le(zip, at, 2);
        const std::uint32_t size = Le(zip, at + 2, 2);
        if (id == 0x9901 && size == 7 && zip.substr(at + 6, 2) == "AE") {
            entry.aeVersion = static_cast<std::uint16_t>(Le(zip, at + 4, 2));
            entry.aeStrength = static_cast<std::uint8_t>(zip.at(at + 8));
            entry.actualMethod = static_cast<std::uint16_t>(Le(zip, at + 9, 2));
        }
        at += 4 + size;
    }
    entry.data = zip.substr(30 + nameLength + extraLength, compressedSize);
    EXPECT_EQ(entry.data.size(), compressedSize);
    return entry;
}

// A minimal zip holding one stored AE-2 entry (CRC 0, AES-128) whose data block is container.
std::string WrapInZip(const std::string &name, const std::string &container, std::uint32_t plainSize) {
    std::string extra;
    PutLe(extra, 0x9901, 2);
    PutLe(extra, 7, 2);
    PutLe(extra, 2, 2); // AE-2
    extra += "AE";
    extra.push_back(1); // AES-128
    PutLe(extra, 0, 2); // stored

    auto common = [&](std::string &out) {
        PutLe(out, 51, 2);     // version needed: AES encryption
        PutLe(out, 0x0001, 2); // encrypted
        PutLe(out, 99, 2);     // method: WinZip AES
        PutLe(out, 0, 2);      // time
        PutLe(out, 0x5921, 2); // date 2024-09-01
        PutLe(out, 0, 4);      // CRC: not used by AE-2
        PutLe(out, static_cast<std::uint32_t>(container.size()), 4);
        PutLe(out, plainSize, 4);
        PutLe(out, static_cast<std::uint32_t>(name.size()), 2);
        PutLe(out, static_cast<std::uint32_t>(extra.size()), 2);
    };
    std::string zip;
    PutLe(zip, 0x04034b50, 4);
    common(zip);
    zip += name + extra + container;

    std::string central;
    PutLe(central, 0x02014b50, 4);
    PutLe(central, 51, 2); // version made by
    common(central);
    PutLe(central, 0, 2); // comment length
    PutLe(central, 0, 2); // disk
    PutLe(central, 0, 2); // internal attributes
    PutLe(central, 0, 4); // external attributes
    PutLe(central, 0, 4); // local header offset
    central += name + extra;

    const auto centralOffset = static_cast<std::uint32_t>(zip.size());
    zip += central;
    PutLe(zip, 0x06054b50, 4);
    PutLe(zip, 0, 2);
    PutLe(zip, 0, 2);
    PutLe(zip, 1, 2);
    PutLe(zip, 1, 2);
    PutLe(zip, static_cast<std::uint32_t>(central.size()), 4);
    PutLe(zip, centralOffset, 4);
    PutLe(zip, 0, 2);
    return zip;
}

TEST(ContainerInterop, ReadsBlockWrittenBy7Zip) {
    const std::string zip =
        ReadFileBytes(std::string(VELLMARK_TEST_DATA_DIR) + "/branding/settings-7zip.zip");
    const std::string plain =
        ReadFileBytes(std::string(VELLMARK_TEST_DATA_DIR) + "/branding/settings-7zip.txt");
    const TZipEntry entry = FirstEntry(zip);
    ASSERT_EQ(entry.method, 99);
    ASSERT_EQ(entry.aeStrength, 1);
    ASSERT_EQ(entry.actualMethod, 0);
    ASSERT_EQ(entry.data.size(), plain.size() + 20);

    std::istringstream in(entry.data);
    std::ostringstream out;
    TEncryption reader(Password, 262144);
    EXPECT_TRUE(reader.DecryptStream(in, out, static_cast<std::int64_t>(entry.data.size())));
    EXPECT_EQ(out.str(), plain);

    // And a small chunk size reads it the same.
    std::istringstream again(entry.data);
    std::ostringstream out2;
    TEncryption smallChunks(Password, 7);
    EXPECT_TRUE(smallChunks.DecryptStream(again, out2, static_cast<std::int64_t>(entry.data.size())));
    EXPECT_EQ(out2.str(), plain);
}

TEST(ContainerInterop, WrappedContainerHasTheZipEntryLayout) {
    const std::string container = "0123456789abcdefghijklmnopqrst";
    const TZipEntry entry = FirstEntry(WrapInZip("a.txt", container, 10));
    EXPECT_EQ(entry.name, "a.txt");
    EXPECT_EQ(entry.aeVersion, 2);
    EXPECT_EQ(entry.aeStrength, 1);
    EXPECT_EQ(entry.data, container);
}

TEST(ContainerInterop, SevenZipExtractsOurContainer) {
    std::vector<std::string> tools;
    for (const char *name : {"7z", "7zz"})
        if (const std::string found = FindOnPath(name); !found.empty())
            tools.push_back(found);
    if (tools.empty())
        GTEST_SKIP() << "neither 7z nor 7zz is installed";

    // Several chunks and a partial last block, so the carried keystream position is exercised.
    const TBytes plainBytes = PatternBytes(70001, 3);
    const std::string plain = ToString(plainBytes);
    std::istringstream in(plain);
    std::ostringstream out;
    TEncryption writer(Password, 4096);
    ASSERT_TRUE(writer.EncryptStream(in, out));

    TTempDir dir;
    WriteFileBytes(dir.File("ours.zip"),
                   WrapInZip("settings.txt", out.str(), static_cast<std::uint32_t>(plain.size())));
    for (const std::string &tool : tools) {
        SCOPED_TRACE(tool);
        const std::string target = dir.File("x-" + std::filesystem::path(tool).filename().string());
        ASSERT_EQ(RunProgram(tool, {"x", "-p" + Password, "-o" + target, "-y", dir.File("ours.zip")}), 0);
        EXPECT_EQ(ReadFileBytes(target + "/settings.txt"), plain);
    }
}

} // namespace
