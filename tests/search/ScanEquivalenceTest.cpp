// The page scan keeps its own marker memory for speed; it must cut pages exactly as the steps
// written with the shared ExtractBetween do, on any page, well formed or not.
#include "search/ResultExtraction.h"

#include "utils/TextUtils.h"
#include "utils/UUtils.h"
#include "utils/WorkBuffer.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr const char *ImagePrefix = "http://images.google";

std::optional<TCandidate> ReferenceTake(TWorkBuffer &page) {
    const std::string attributes = ExtractBetween("<li class=g", ">", 0, page);
    if (attributes.find('b') != std::string::npos)
        return std::nullopt;
    ExtractBetween(">", "href=\"", 0, page);
    std::string link = ExtractBetween("href=\"", "\"", 0, page);
    if (!link.empty() && link.back() == '/')
        link.pop_back();
    const std::string anchor = ExtractBetween(">", "</a>", 0, page);
    if (!StartsWithNoCase(link, "http://") || StartsWithNoCase(link, ImagePrefix))
        return std::nullopt;
    return TCandidate{link, CleanTitle(anchor)};
}

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

TEST(ScanEquivalenceTest, SameCandidatesAndRemainsAsExtractBetween) {
    std::mt19937 generator(20261210);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = RandomPage(generator);

        TWorkBuffer reference(text);
        std::vector<std::string> expected;
        TWorkBuffer stepped(text);
        while (reference.Contains("<li class=g")) {
            const std::optional<TCandidate> candidate = ReferenceTake(reference);
            if (candidate)
                expected.push_back(Describe(candidate));
            ASSERT_EQ(Describe(TakeNextCandidate(stepped, ImagePrefix)), Describe(candidate)) << text;
            ASSERT_EQ(stepped.ToString(), reference.ToString()) << text;
        }

        TWorkBuffer scanned(text);
        std::vector<std::string> found;
        ScanResultPage(scanned, ImagePrefix, [&](const TCandidate &c) { found.push_back(Describe(c)); });
        ASSERT_EQ(found, expected) << text;
        ASSERT_EQ(scanned.ToString(), reference.ToString()) << text;
        ASSERT_EQ(HasNextPage(scanned), reference.Contains("</span>Next</a>")) << text;
    }
}

} // namespace
