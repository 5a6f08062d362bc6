#include "search/CsvExport.h"

#include "platform/MessageBox.h"
#include "search/SearchView.h"
#include "tests/support/TempDir.h"
#include "utils/TextLines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

class TRecordingMessageBox final : public IMessageBox {
public:
    bool Show(TMsgKind kind, const std::string &text, TMsgButtons buttons) override {
        shown.push_back(text);
        EXPECT_EQ(kind, TMsgKind::Warning);
        EXPECT_EQ(buttons, TMsgButtons::Ok);
        return true;
    }
    std::vector<std::string> shown;
};

const std::string Header = "\"Pos\",\"Title\",\"URL Domain\",\"Keyword used\"\r\n";

TEST(CsvExportTest, HeaderOnlyForAnEmptyTable) {
    EXPECT_EQ(Header.size(), 43u);
    EXPECT_EQ(ResultsCsvText({}), Header);
}

TEST(CsvExportTest, EveryFieldQuotedInnerQuotesDoubledBytesKept) {
    const std::vector<TResultRow> rows = {{"7", "Say \"hi\" here", "http://host.example", "forum"},
                                          {"8", " Caf\xE9, \"x\" ", "http://b.example", ""}};
    EXPECT_EQ(ResultsCsvText(rows),
              Header + "\"7\",\"Say \"\"hi\"\" here\",\"http://host.example\",\"forum\"\r\n" +
                  "\"8\",\" Caf\xE9, \"\"x\"\" \",\"http://b.example\",\"\"\r\n");
}

TEST(CsvExportTest, WritesAndReplacesWithoutLeftovers) {
    TTempDir dir;
    const std::string path = dir.File("results.csv");
    WriteFileBytes(path, "older and longer content than the new file\r\n");
    TRecordingMessageBox box;
    const std::vector<TResultRow> rows = {{"1", "T", "http://a.example", "k"}};
    EXPECT_TRUE(SaveResultsToCsv(path, path, rows, box));
    EXPECT_EQ(ReadFileBytes(path), ResultsCsvText(rows));
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(CsvExportTest, FailureWarnsAndLeavesTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only directories";
    TTempDir dir;
    const std::string path = dir.File("results.csv");
    WriteFileBytes(path, "old");
    std::filesystem::permissions(dir.Path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    TRecordingMessageBox box;
    EXPECT_FALSE(SaveResultsToCsv(path, path, {{"1", "T", "http://a.example", "k"}}, box));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0], "The results could not be saved to \"" + path + "\".");
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(CsvExportTest, FailureCasesWarnAndLeaveNoTemporaryFile) {
    TTempDir dir;
    WriteFileBytes(dir.File("plain-file"), "x");
    std::filesystem::create_directories(dir.Path() / "folder.csv" / "inside");
    for (const char *name : {"no/such/dir/results.csv", "plain-file/results.csv", "folder.csv"}) {
        TRecordingMessageBox box;
        EXPECT_FALSE(SaveResultsToCsv(dir.File(name), name, {{"1", "T", "http://a.example", "k"}}, box))
            << name;
        ASSERT_EQ(box.shown.size(), 1u) << name;
        EXPECT_EQ(box.shown[0], "The results could not be saved to \"" + std::string(name) + "\".");
    }
    // Only what was there before: the replaced target was a folder, which stays.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "folder.csv" / "inside"));
}

TEST(CsvExportTest, CsvExtensionAppendedUnlessPresent) {
    const std::pair<const char *, const char *> cases[] = {
        {"results", "results.csv"},         {"results.txt", "results.txt.csv"},
        {"RESULTS.CSV", "RESULTS.CSV"},     {"/home/u/a.Csv", "/home/u/a.Csv"},
        {"/home/u/csv", "/home/u/csv.csv"}, {"a.csv.bak", "a.csv.bak.csv"}};
    for (const auto &[in, out] : cases)
        EXPECT_EQ(EnsureCsvExtension(in), out) << in;
}

} // namespace
