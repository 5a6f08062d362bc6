// The page buffer remembers its marker searches to keep a scan linear. The scan must still cut
// pages exactly as the plain steps do when the buffer is an ordinary string that is copied and
// cut on every extraction, on any page, well formed or not.
#include "search/ResultExtraction.h"

#include "tests/support/PlainScan.h"
#include "utils/WorkBuffer.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr const char *ImagePrefix = "http://images.google";

std::string Describe(const std::optional<TCandidate> &candidate) {
    return candidate ? candidate->link + "\t" + candidate->title : "(skip)";
}

std::string RandomPage(std::mt19937 &generator) {
    static const char *const Fragments[] = {"<li class=g",
                                            "<LI Class=G",
                                            "<li class=gx",
                                            ">",
                                            " id=box",
                                            " class=g",
                                            "href=\"",
                                            "HREF=\"",
                                            "hreF=",
                                            "\"",
                                            "http://",
                                            "HTTP://",
                                            "https://",
                                            "http://images.google.com/",
                                            "a.example",
                                            "/",
                                            "//",
                                            "</a>",
                                            "</A>",
                                            "</a",
                                            "<b>",
                                            "&amp;",
                                            "&lt;",
                                            "x",
                                            " ",
                                            "  ",
                                            "\r\n",
                                            "</span>Next</a>",
                                            "<",
                                            "h",
                                            "\xE9"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(Fragments) - 1);
    std::uniform_int_distribution<int> length(0, 80);
    std::string page;
    for (int n = length(generator); n > 0; --n)
        page += Fragments[pick(generator)];
    return page;
}

TEST(ScanOracleTest, SameCandidatesAndRemainsAsPlainStringSteps) {
    std::mt19937 generator(20261210);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = RandomPage(generator);

        std::string reference(text);
        std::vector<std::string> expected;
        TWorkBuffer stepped(text);
        while (reference.find("<li class=g") != std::string::npos) {
            const std::optional<TCandidate> candidate = PlainTake(reference, ImagePrefix);
            if (candidate)
                expected.push_back(Describe(candidate));
            ASSERT_EQ(Describe(TakeNextCandidate(stepped, ImagePrefix)), Describe(candidate)) << text;
            ASSERT_EQ(stepped.ToString(), reference) << text;
        }

        TWorkBuffer scanned(text);
        std::vector<std::string> found;
        ScanResultPage(scanned, ImagePrefix, [&](const TCandidate &c) { found.push_back(Describe(c)); });
        ASSERT_EQ(found, expected) << text;
        ASSERT_EQ(scanned.ToString(), reference) << text;
        ASSERT_EQ(HasNextPage(scanned), reference.find("</span>Next</a>") != std::string::npos) << text;
    }
}

} // namespace
