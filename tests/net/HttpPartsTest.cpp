// The client's parts that need no socket: URLs, redirect targets, cookies, the response reader.
#include "net/CookieStore.h"
#include "net/HttpClient.h"
#include "net/HttpResponseReader.h"
#include "net/HttpUrl.h"

#include <gtest/gtest.h>

namespace {

struct TUrlCase {
    std::string url;
    std::string host;
    int port;
    std::string target;
    std::string directory;
    std::string hostHeader;
};

TEST(HttpUrlTest, SplitsWithoutEncoding) {
    const std::vector<TUrlCase> cases = {
        {"http://www.google.com/search?q=%22x%22+y&num=100", "www.google.com", 80,
         "/search?q=%22x%22+y&num=100", "/", "www.google.com"},
        {"HTTP://Host.Example:8080/a/b/c.php?x=/y#frag", "Host.Example", 8080, "/a/b/c.php?x=/y", "/a/b/",
         "Host.Example:8080"},
        {"http://h", "h", 80, "/", "/", "h"},
        {"http://h?q=1", "h", 80, "/?q=1", "/", "h"},
        {"http://h:80/dir/", "h", 80, "/dir/", "/dir/", "h"},
        {"http://user:pw@h:81/x y", "h", 81, "/x y", "/", "h:81"},
        {"gopher://h:70/", "h", 70, "/", "/", "h:70"},
        {"http://[::1]:8000/v", "::1", 8000, "/v", "/", "[::1]:8000"},
    };
    for (const TUrlCase &c : cases) {
        const THttpUrl url = ParseHttpUrl(c.url);
        EXPECT_EQ(url.host, c.host) << c.url;
        EXPECT_EQ(url.port, c.port) << c.url;
        EXPECT_EQ(url.target, c.target) << c.url;
        EXPECT_EQ(url.directory, c.directory) << c.url;
        EXPECT_EQ(HostHeaderValue(url), c.hostHeader) << c.url;
    }
}

TEST(HttpUrlTest, RefusesWhatCannotBeRequested) {
    for (const char *url : {"https://www.google.com/", "https://h:80/", "ftp://h/", "www.google.com/search",
                            "http:///x", "http://h:/", "http://h:0/", "http://h:65536/", "http://h:8a/",
                            "http://h/a\r\nX: y", "http://h x/", "http://[::1/"})
        EXPECT_THROW(ParseHttpUrl(url), ENetError) << url;
}

TEST(HttpUrlTest, ResolvesRedirectTargets) {
    const THttpUrl base = ParseHttpUrl("http://h:81/a/b.php?q=1");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"next.php", "http://h:81/a/next.php"}, {"/root?x", "http://h:81/root?x"},
        {"../up", "http://h:81/a/../up"},       {"?other", "http://h:81/a/b.php?other"},
        {"http://o/p", "http://o:80/p"},        {"x#frag", "http://h:81/a/x"},
        {"", "http://h:81/a/b.php?q=1"},
    };
    for (const auto &[location, expected] : cases) {
        const THttpUrl url = ResolveRedirect(base, location);
        EXPECT_EQ(url.scheme + "://" + url.host + ":" + std::to_string(url.port) + url.target, expected)
            << location;
    }
    EXPECT_THROW(ResolveRedirect(base, "https://h/"), ENetError);
}

TEST(CookieStoreTest, MatchesDomainPathExpiryAndSecurity) {
    TCookieStore store;
    const std::time_t now = 1700000000;
    store.Store("a=1", "www.google.com", "/", now);
    store.Store("b=2; Domain=.google.com; Path=/search", "www.google.com", "/", now);
    store.Store("c=3; domain=other.com", "www.google.com", "/", now); // not the setter's domain
    store.Store("d=4; Max-Age=60", "www.google.com", "/", now);
    store.Store("e=5; secure", "www.google.com", "/", now);
    store.Store("f=; path=/", "www.google.com", "/", now);
    store.Store("noequals", "www.google.com", "/", now);
    EXPECT_EQ(store.CookieHeader("www.google.com", "/", now), "a=1; d=4");
    EXPECT_EQ(store.CookieHeader("WWW.GOOGLE.COM", "/search/", now), "a=1; b=2; d=4");
    EXPECT_EQ(store.CookieHeader("news.google.com", "/search/", now), "b=2");
    EXPECT_EQ(store.CookieHeader("www.google.com", "/", now + 61), "a=1");
    store.Store("a=replaced", "www.google.com", "/", now);
    store.Store("b=x; Domain=google.com; Path=/search; expires=Thu, 01-Jan-1970 00:00:01 GMT",
                "www.google.com", "/", now);
    EXPECT_EQ(store.CookieHeader("www.google.com", "/search/", now), "a=replaced");
}

TEST(CookieStoreTest, StaysBounded) {
    TCookieStore store;
    for (int i = 0; i < 1000; ++i)
        store.Store(std::string("n").append(std::to_string(i)).append("=v"), "h", "/", 0);
    EXPECT_EQ(store.Size(), TCookieStore::MaxCookies);
}

TEST(CookieStoreTest, ParsesTheCommonDateForms) {
    const std::time_t expected = 1086088447; // 2004-06-01 11:14:07 UTC
    for (const char *text :
         {"Tue, 01 Jun 2004 11:14:07 GMT", "Tuesday, 01-Jun-04 11:14:07 GMT", "Tue Jun  1 11:14:07 2004"})
        EXPECT_EQ(ParseCookieDate(text), expected) << text;
    for (const char *text : {"", "tomorrow", "Tue, 01 Jun 2004", "01 Foo 2004 11:14:07"})
        EXPECT_FALSE(ParseCookieDate(text).has_value()) << text;
}

TEST(HttpStatusTest, CodeIsTheSecondWord) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"HTTP/1.1 200 OK", 200},        {"HTTP/1.0 404", 404}, {"HTTP/1.1  200 OK", -1},
        {"HTTP/1.1 2x0 OK", -1},         {"HTTP/1.1", -1},      {"HTTP/1.1 -200 OK", -1},
        {"HTTP/1.1 99999999999 OK", -1},
    };
    for (const auto &[line, code] : cases)
        EXPECT_EQ(StatusCodeOf(line), code) << line;
}

// Hands out its bytes a few at a time, as a slow connection would.
class TTrickleSource final : public IByteSource {
public:
    TTrickleSource(std::string bytes, std::size_t step) : FBytes(std::move(bytes)), FStep(step) {}
    std::size_t ReadSome(char *buffer, std::size_t size) override {
        const std::size_t n = std::min({size, FStep, FBytes.size() - FAt});
        FBytes.copy(buffer, n, FAt);
        FAt += n;
        return n;
    }

private:
    std::string FBytes;
    std::size_t FStep;
    std::size_t FAt = 0;
};

class TCollect final : public IBodySink {
public:
    void Write(const char *data, std::size_t size) override { body.append(data, size); }
    void WorkBegin(std::int64_t expected) override { events += "B" + std::to_string(expected); }
    void Work(std::int64_t) override {}
    void WorkEnd() override { events += "E"; }
    std::string body;
    std::string events;
};

TEST(HttpResponseReaderTest, SameResultWhateverTheSegmentation) {
    const std::string response = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nSet-Cookie: a=b\r\n\r\n"
                                 "4\r\nWiki\r\n5\r\npedia\r\ne\r\n in\r\n\r\nchunks.\r\n0\r\n\r\n";
    for (const std::size_t step : {1u, 2u, 7u, 1000u}) {
        TTrickleSource source(response, step);
        THttpResponseReader reader(source);
        const THttpResponseHead head = reader.ReadHead();
        EXPECT_EQ(head.code, 200);
        ASSERT_NE(head.Find("set-cookie"), nullptr);
        EXPECT_EQ(*head.Find("set-cookie"), "a=b");
        TCollect sink;
        reader.ReadBody(FramingOf(head), sink);
        EXPECT_EQ(sink.body, "Wikipedia in\r\n\r\nchunks.") << step;
        EXPECT_EQ(sink.events, "B4EB5EB14E") << step;
        EXPECT_FALSE(reader.HasBufferedBytes());
    }
}

TEST(HttpResponseReaderTest, LineLimitCountsBytesWithoutTheLineEnd) {
    const std::string atLimit = "X: " + std::string(THttpResponseReader::MaxLineLength - 3, 'v');
    for (const std::size_t step : {1u, 4096u}) {
        TTrickleSource good("HTTP/1.1 200 OK\r\n" + atLimit + "\r\n\r\n", step);
        THttpResponseReader goodReader(good);
        EXPECT_EQ(goodReader.ReadHead().headers.size(), 1u);
        TTrickleSource bad("HTTP/1.1 200 OK\r\n" + atLimit + "v\r\n\r\n", step);
        THttpResponseReader badReader(bad);
        EXPECT_THROW(badReader.ReadHead(), ENetError);
    }
}

} // namespace
