#include "search/ResultExtraction.h"

#include "utils/WorkBuffer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char *ImagePrefix = "http://images.google";

struct TCandidateCase {
    const char *name;
    std::string page;
    std::optional<TCandidate> expected;
    std::string rest; // the buffer after the step
};

class TakeNextCandidateTest : public testing::TestWithParam<TCandidateCase> {};

TEST_P(TakeNextCandidateTest, YieldsAndConsumes) {
    const TCandidateCase &c = GetParam();
    TWorkBuffer page(c.page);
    const std::optional<TCandidate> candidate = TakeNextCandidate(page, ImagePrefix);
    ASSERT_EQ(candidate.has_value(), c.expected.has_value());
    if (candidate) {
        EXPECT_EQ(candidate->link, c.expected->link);
        EXPECT_EQ(candidate->title, c.expected->title);
    }
    EXPECT_EQ(page.ToString(), c.rest);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TakeNextCandidateTest,
    testing::Values(
        TCandidateCase{"plain", "<li class=g><h3><a href=\"http://a.example/f/\" x=1>A <b>b</b></a></h3>rest",
                       TCandidate{"http://a.example/f", "A b"}, "</a></h3>rest"},
        TCandidateCase{"b_in_attributes_skipped_at_tag_end",
                       "<li class=g id=box><a href=\"http://a.example\">A</a>", std::nullopt,
                       "><a href=\"http://a.example\">A</a>"},
        TCandidateCase{"capital_B_in_attributes_taken",
                       "<li class=g ID=BOX><a href=\"http://a.example\">A</a>",
                       TCandidate{"http://a.example", "A"}, "</a>"},
        TCandidateCase{"two_trailing_slashes_keep_one", "<li class=g><a href=\"http://a.example//\">A</a>",
                       TCandidate{"http://a.example/", "A"}, "</a>"},
        TCandidateCase{"relative_skipped_at_anchor_end", "<li class=g><a href=\"/url?q=term\">A</a>x",
                       std::nullopt, "</a>x"},
        TCandidateCase{"https_skipped", "<li class=g><a href=\"https://a.example/\">A</a>", std::nullopt,
                       "</a>"},
        TCandidateCase{"empty_link_skipped", "<li class=g><a href=\"\">A</a>", std::nullopt, "</a>"},
        TCandidateCase{"capital_scheme_taken", "<li class=g><a href=\"HTTP://A.example/x\">A</a>",
                       TCandidate{"HTTP://A.example/x", "A"}, "</a>"},
        TCandidateCase{"image_prefix_skipped_any_case",
                       "<li class=g><a href=\"HTTP://IMAGES.google.com/i?x\">I</a>", std::nullopt, "</a>"},
        TCandidateCase{"entities_stay_in_link", "<li class=g><a href=\"http://a.example/?a=1&amp;b=2\">A</a>",
                       TCandidate{"http://a.example/?a=1&amp;b=2", "A"}, "</a>"},
        // ExtractBetween folds case, so an upper-case opening is taken first.
        TCandidateCase{"folded_result_marker", "<LI CLASS=G><a href=\"http://u.example\">U</a><li class=g>",
                       TCandidate{"http://u.example", "U"}, "</a><li class=g>"},
        TCandidateCase{"anchor_spans_lines", "<li class=g><a href=\"http://a.example\">Forum\r\nHome</a>",
                       TCandidate{"http://a.example", "ForumHome"}, "</a>"},
        TCandidateCase{"no_closing_markers", "<li class=g", std::nullopt, ""},
        TCandidateCase{"no_link_end", "<li class=g><a href=\"http://a.example>A", std::nullopt, "A"}),
    [](const testing::TestParamInfo<TCandidateCase> &info) { return std::string(info.param.name); });

struct TScanCase {
    const char *name;
    std::string page;
    std::vector<std::string> links;
    bool next;
};

class ScanResultPageTest : public testing::TestWithParam<TScanCase> {};

TEST_P(ScanResultPageTest, CandidatesAndNextPage) {
    const TScanCase &c = GetParam();
    TWorkBuffer page(c.page);
    std::vector<std::string> links;
    ScanResultPage(page, ImagePrefix, [&](const TCandidate &candidate) { links.push_back(candidate.link); });
    EXPECT_EQ(links, c.links);
    EXPECT_EQ(HasNextPage(page), c.next);
    EXPECT_FALSE(HasResultMarker(page));
}

const std::string Next = "<span></span>Next</a>";

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanResultPageTest,
    testing::Values(TScanCase{"two_results_then_next",
                              "<li class=g><a href=\"http://a.example/\">A</a><li class=g><a "
                              "href=\"http://b.example/x\">B</a>" +
                                  Next,
                              {"http://a.example", "http://b.example/x"},
                              true},
                    TScanCase{
                        "skipped_results_between",
                        "<li class=g id=b><a href=\"http://a.example\">A</a>"
                        "<li class=g><a href=\"/url\">R</a><li class=g><a href=\"http://c.example\">C</a>",
                        {"http://c.example"},
                        false},
                    TScanCase{"no_results_next_anywhere", "<p>nothing</p>" + Next, {}, true},
                    TScanCase{"next_before_last_result",
                              "<li class=g><a href=\"http://a.example\">A</a>" + Next +
                                  "<li class=g><a href=\"http://b.example\">B</a>",
                              {"http://a.example", "http://b.example"},
                              false},
                    TScanCase{"next_marker_is_case_sensitive",
                              "<li class=g><a href=\"http://a.example\">A</a></SPAN>Next</a>",
                              {"http://a.example"},
                              false},
                    TScanCase{"skip_leaves_buffer_at_tag_end",
                              "<li class=g class=ab><a href=\"http://a.example\">A</a>",
                              {},
                              false},
                    TScanCase{"openings_never_closed", "<li class=g<li class=g<li class=g", {}, false}),
    [](const testing::TestParamInfo<TScanCase> &info) { return std::string(info.param.name); });

struct TTextCase {
    std::string in;
    std::string out;
};

// Shown as the input text, so a failing case names itself.
void PrintTo(const TTextCase &c, std::ostream *out) {
    *out << testing::PrintToString(c.in);
}

class CleanTitleTest : public testing::TestWithParam<TTextCase> {};

TEST_P(CleanTitleTest, Cleans) {
    EXPECT_EQ(CleanTitle(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanTitleTest,
    testing::Values(TTextCase{"Best &lt;b&gt;forum&lt;/b&gt; &amp;amp; more", "Best <b>forum</b> &amp; more"},
                    TTextCase{"<b>A</b><br><strong>B</strong><em>C</em>", "ABC"},
                    TTextCase{"<B>A</B> <i>i</i> &nbsp;", "<B>A</B> <i>i</i> &nbsp;"},
                    TTextCase{"&amp;lt; &amp;#39; &amp;quot;", "&lt; ' &quot;"},
                    TTextCase{"&quot;q&quot; &apos;a&apos; &#39;n&#39; &gt;", "\"q\" 'a' 'n' >"},
                    TTextCase{"<b&gt;x", "<b>x"}, TTextCase{"&lt;b>x", "<b>x"},
                    TTextCase{"Caf\xE9 Forum", "Caf Forum"}, TTextCase{"Forum\r\nHome", "ForumHome"},
                    TTextCase{"a\tb\x7f"
                              "c\x01"
                              "d\xff",
                              "abcd"},
                    TTextCase{"a  b", "a b"}, TTextCase{"a   b", "a  b"}, TTextCase{"a    b", "a  b"},
                    TTextCase{"a <b></b> b", "a b"}, TTextCase{"", ""}));

class ExtractDomainTest : public testing::TestWithParam<TTextCase> {};

TEST_P(ExtractDomainTest, Cuts) {
    EXPECT_EQ(ExtractDomain(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractDomainTest,
    testing::Values(TTextCase{"http://host.example/forum/index.php", "http://host.example"},
                    TTextCase{"http://host.example:8080/x", "http://host.example:8080"},
                    TTextCase{"http://host.example?x=1", "http://host.example?x=1"},
                    TTextCase{"http://host.example", "http://host.example"},
                    TTextCase{"HTTP://HOST/x", "HTTP:"},
                    TTextCase{"http://user@host.example/x", "http://user@host.example"},
                    TTextCase{"http://a.example/r?u=http://b.example/", "http://a.example"},
                    TTextCase{"http://a^%^b/c", "http://ahttp://b"}, TTextCase{"", ""}));

} // namespace
