// What a server sees from the client and how the client takes its answers, byte for byte.
#include "net/HttpClient.h"
#include "tests/net/NetTestSupport.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using TServer = TScriptedServer;
using TScript = TScriptedServer::TScript;

std::string HostLine(const TServer &server) {
    return "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
}

// One request and one answer on a connection that then closes.
TScript Answer(std::string response) {
    return {TServer::Request(), TServer::Send(std::move(response))};
}

class HttpWireTest : public ::testing::Test {
protected:
    TFixedClock FClock;
    THttpClient FClient{FClock};
};

TEST_F(HttpWireTest, SearchClientGetCarriesTheProfileInOrder) {
    TServer server({Answer(Response("200 OK", "page"))});
    FClient.SetPragma("no-cache");
    FClient.SetCacheControl("no-cache");
    std::ostringstream out;
    FClient.Get(server.Url("/search?q=%22a+b%22&num=100&start=0#frag"), out);
    server.Finish();
    EXPECT_EQ(out.str(), "page");
    EXPECT_EQ(FClient.LastStatusCode(), 200);
    EXPECT_EQ(FClient.LastStatusLine(), "HTTP/1.1 200 OK");
    ASSERT_EQ(server.Received().size(), 1u);
    EXPECT_EQ(server.Received()[0], "GET /search?q=%22a+b%22&num=100&start=0 HTTP/1.1\r\n"
                                    "Content-Type: text/html\r\n"
                                    "Cache-control: no-cache\r\n"
                                    "Pragma: no-cache\r\n" +
                                        HostLine(server) + AgentLines + "\r\n");
}

TEST_F(HttpWireTest, PostSendsMultipartBodyAsHttp10AndLeavesItsHeadersWithTheClient) {
    // The first get leaves a connection open; the post must close it and open its own.
    TServer server(
        {{TServer::Request(), TServer::Send(Response("200 OK", "x")), TServer::AwaitClose(3000)},
         {TServer::Request(), TServer::Send(Response("200 OK\r\nConnection: keep-alive", "OK^1"))}});
    std::ostringstream first;
    FClient.Get(server.Url("/"), first);
    const std::string answer = FClient.Post(server.Url("/news/getlastnews.php"),
                                            {{"BranderCode", "BM"}, {"Empty", ""}, {"x", "a\r\nb"}});
    EXPECT_EQ(answer, "OK^1");
    server.Finish();

    const std::string boundary = "--------122507140309045";
    const std::string body =
        "--" + boundary + "\r\nContent-Disposition: form-data; name=\"BranderCode\"\r\n\r\nBM\r\n" + "--" +
        boundary + "\r\nContent-Disposition: form-data; name=\"Empty\"\r\n\r\n\r\n" + "--" + boundary +
        "\r\nContent-Disposition: form-data; name=\"x\"\r\n\r\na\r\nb\r\n" + "\r\n--" + boundary + "--\r\n";
    const auto received = server.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_TRUE(server.ClientClosed()[0]);
    EXPECT_EQ(received[1], "POST /news/getlastnews.php HTTP/1.0\r\n"
                           "Connection: keep-alive\r\n"
                           "Content-Type: multipart/form-data; boundary=" +
                               boundary + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
                               HostLine(server) + AgentLines + "\r\n" + body);
}

TEST_F(HttpWireTest, GetAfterPostIsHttp11WithStickyConnectionAndContentType) {
    // The post's answer allowed keep-alive, so the get goes out on the same connection.
    TServer server({{TServer::Request(), TServer::Send(Response("200 OK\r\nConnection: Keep-Alive", "OK")),
                     TServer::Request(), TServer::Send(Response("200 OK", "ini"))}});
    FClient.Post(server.Url("/p"), {{"a", "1"}});
    std::ostringstream out;
    FClient.Get(server.Url("/liveupdate/mainappupdate.inf"), out);
    server.Finish();
    EXPECT_EQ(out.str(), "ini");
    ASSERT_EQ(server.Received().size(), 1u);
    const std::string wire = server.Received()[0];
    const std::string get = wire.substr(wire.find("GET "));
    EXPECT_EQ(get, "GET /liveupdate/mainappupdate.inf HTTP/1.1\r\n"
                   "Connection: keep-alive\r\n"
                   "Content-Type: multipart/form-data; boundary=--------122507140309045\r\n" +
                       HostLine(server) + AgentLines + "\r\n");
}

TEST_F(HttpWireTest, PostAnswerWithoutKeepAliveClosesTheConnection) {
    TServer server({{TServer::Request(), TServer::Send(Response("200 OK", "OK")), TServer::AwaitClose(3000)},
                    Answer(Response("200 OK", "second"))});
    FClient.Post(server.Url("/p"), {});
    std::ostringstream out;
    FClient.Get(server.Url("/g"), out);
    server.Finish();
    EXPECT_EQ(out.str(), "second");
    EXPECT_EQ(server.Accepted(), 2);
    EXPECT_TRUE(server.ClientClosed()[0]);
}

TEST_F(HttpWireTest, KeepAliveIsReusedAndConnectionCloseIsHonoured) {
    TServer server({{TServer::Request(), TServer::Send(Response("200 OK", "1")), TServer::Request(),
                     TServer::Send(Response("200 OK\r\nConnection: close", "2")), TServer::AwaitClose(3000)},
                    Answer(Response("200 OK", "3"))});
    std::string bodies;
    for (const char *target : {"/1", "/2", "/3"}) {
        std::ostringstream out;
        FClient.Get(server.Url(target), out);
        bodies += out.str();
    }
    server.Finish();
    EXPECT_EQ(bodies, "123");
    ASSERT_EQ(server.Received().size(), 2u);
    EXPECT_NE(server.Received()[0].find("GET /2 "), std::string::npos);
    EXPECT_EQ(server.Received()[1].rfind("GET /3 ", 0), 0u);
    EXPECT_TRUE(server.ClientClosed()[0]);
}

// How response bytes become a body or an error.
struct TResponseCase {
    const char *name;
    std::string response;
    std::string body;      // expected body when no error
    int httpCode = 0;      // > -2 with error: an HTTP error status of that code
    bool netError = false; // any other failure
};

std::string Repeat(const std::string &text, std::size_t count) {
    std::string result;
    for (std::size_t i = 0; i < count; ++i)
        result += text;
    return result;
}

const std::string LongReason = std::string(16384 - 13, 'x'); // "HTTP/1.1 200 " + reason = 16384

class HttpResponseTest : public ::testing::TestWithParam<TResponseCase> {};

TEST_P(HttpResponseTest, BodyOrError) {
    const TResponseCase &c = GetParam();
    // A second connection shows the client still works after whatever the first one did.
    TServer server({Answer(c.response), Answer(Response("200 OK", "after"))});
    TFixedClock clock;
    THttpClient client(clock);
    std::ostringstream out;
    bool httpError = false, netError = false;
    int code = 0;
    try {
        client.Get(server.Url("/"), out);
    } catch (const EHttpError &e) {
        httpError = true;
        code = e.Code();
    } catch (const ENetError &) {
        netError = true;
    }
    EXPECT_EQ(netError, c.netError);
    EXPECT_EQ(httpError, c.httpCode != 0);
    if (c.httpCode != 0) {
        EXPECT_EQ(code, c.httpCode);
        EXPECT_EQ(out.str(), "") << "an error body must not reach the caller";
    } else if (!netError) {
        EXPECT_EQ(out.str(), c.body);
    }
    if (netError) {
        std::ostringstream after;
        EXPECT_NO_THROW(client.Get(server.Url("/"), after));
        EXPECT_EQ(after.str(), "after");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wire, HttpResponseTest,
    ::testing::Values(
        TResponseCase{"Counted", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", "abc"},
        TResponseCase{"CountedWinsOverChunked",
                      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 2\r\n\r\nab", "ab"},
        TResponseCase{
            "Chunked",
            "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3;ext=1\r\nabc\r\nA\r\n0123456789\r\n"
            "0\r\nTrailer: x\r\n\r\n",
            "abc0123456789"},
        TResponseCase{"UntilClose", "HTTP/1.1 200 OK\r\nX: y\r\n\r\nto the end\r\n", "to the end\r\n"},
        TResponseCase{"BareLineFeeds", "HTTP/1.0 200 OK\nContent-Length: 2\n\nok", "ok"},
        TResponseCase{"ContentLengthZero", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
        TResponseCase{"NoContent", "HTTP/1.1 204 No Content\r\n\r\n", ""},
        TResponseCase{"InterimContinueSkipped",
                      "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", "ok"},
        TResponseCase{"FoldedHeader", "HTTP/1.1 200 OK\r\nX: a\r\n b\r\nContent-Length: 1\r\n\r\nz", "z"},
        TResponseCase{"LineOfExactlyTheLimit",
                      "HTTP/1.1 200 " + LongReason + "\r\nContent-Length: 1\r\n\r\nz", "z"},
        TResponseCase{"NotFound", Response("404 Not Found", "missing"), "", 404},
        TResponseCase{"ServiceUnavailable", "HTTP/1.1 503 Busy\r\n\r\nlater", "", 503},
        TResponseCase{"Unauthorized", Response("401 Unauthorized", ""), "", 401},
        TResponseCase{"NotModifiedIsNoRedirect", "HTTP/1.1 304 Not Modified\r\n\r\n", "", 304},
        TResponseCase{"RedirectWithoutLocation", Response("302 Found", "x"), "", 302},
        TResponseCase{"StatusNotANumber", Response("2OO OK", "x"), "", -1},
        TResponseCase{"StatusMissing", "HTTP/1.1\r\nContent-Length: 0\r\n\r\n", "", -1},
        TResponseCase{"OtherInterimStatus", "HTTP/1.1 101 Switching\r\n\r\n", "", 101},
        TResponseCase{"NothingAtAll", "", "", 0, true},
        TResponseCase{"GarbageStatusLine", "ICY 200 OK\r\n\r\nabc", "", 0, true},
        TResponseCase{"HeaderWithoutColon", "HTTP/1.1 200 OK\r\nNoColonHere\r\n\r\n", "", 0, true},
        TResponseCase{"FoldBeforeAnyHeader", "HTTP/1.1 200 OK\r\n folded\r\n\r\n", "", 0, true},
        TResponseCase{"NegativeLength", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nabc", "", 0, true},
        TResponseCase{"HugeLength", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\nabc", "",
                      0, true},
        TResponseCase{"TextLength", "HTTP/1.1 200 OK\r\nContent-Length: ten\r\n\r\nabc", "", 0, true},
        TResponseCase{"ConflictingLengths",
                      "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", "", 0, true},
        TResponseCase{"BadChunkSize", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", "", 0,
                      true},
        TResponseCase{"EmptyChunkSize", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n\r\n", "", 0,
                      true},
        TResponseCase{"OverflowingChunkSize",
                      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffffff\r\n", "", 0,
                      true},
        TResponseCase{"ChunkSizeLineOverLimit",
                      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1;" + std::string(16384, 'e') +
                          "\r\n",
                      "", 0, true},
        TResponseCase{"ChunkWithoutItsLineEnd",
                      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n0\r\n\r\n", "", 0,
                      true},
        TResponseCase{"ClosedInHeaders", "HTTP/1.1 200 OK\r\nContent-Le", "", 0, true},
        TResponseCase{"ClosedInChunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc", "",
                      0, true},
        TResponseCase{"ClosedBeforeLastChunk",
                      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\na\r\n", "", 0, true},
        TResponseCase{"ClosedInCountedBody", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", "", 0, true},
        TResponseCase{"StatusLineOverLimit", "HTTP/1.1 200 " + LongReason + "x\r\n\r\n", "", 0, true},
        TResponseCase{"HeaderLineOverLimit", "HTTP/1.1 200 OK\r\nX: " + std::string(16400, 'h') + "\r\n\r\n",
                      "", 0, true},
        TResponseCase{"EndlessHeaders", "HTTP/1.1 200 OK\r\n" + Repeat("X-Many: header line\r\n", 5000), "",
                      0, true},
        TResponseCase{"EndlessInterimResponses", Repeat("HTTP/1.1 100 Continue\r\n\r\n", 100), "", 0, true}),
    [](const ::testing::TestParamInfo<TResponseCase> &info) { return std::string(info.param.name); });

TEST_F(HttpWireTest, HttpErrorCarriesCodeStatusLineAndBody) {
    TServer server({Answer(Response("404 Not Found", "<h1>gone</h1>"))});
    std::ostringstream out;
    try {
        FClient.Get(server.Url("/x"), out);
        FAIL() << "no error";
    } catch (const EHttpError &e) {
        EXPECT_EQ(e.Code(), 404);
        EXPECT_EQ(e.StatusLine(), "HTTP/1.1 404 Not Found");
        EXPECT_EQ(e.Body(), "<h1>gone</h1>");
    }
    EXPECT_EQ(out.str(), "");
}

TEST_F(HttpWireTest, ErrorBodyKeptOnlyUpToItsBound) {
    const std::string body(1536 * 1024, 'e');
    TServer server({Answer(Response("500 Internal Server Error", body))});
    std::ostringstream out;
    try {
        FClient.Get(server.Url("/"), out);
        FAIL() << "no error";
    } catch (const EHttpError &e) {
        EXPECT_EQ(e.Code(), 500);
        EXPECT_EQ(e.Body(), body.substr(0, 1024 * 1024));
    }
}

TEST_F(HttpWireTest, RedirectsFollowRelativeTargetsWithTheSameMethodAndResendThePostBody) {
    TServer server(
        {{TServer::Request(),
          TServer::Send(Response("302 Found\r\nConnection: keep-alive\r\nLocation: next?x=1", "moved")),
          TServer::Request(),
          TServer::Send(Response("200 OK\r\nConnection: keep-alive\r\nLocation: /final", "not this")),
          TServer::Request(), TServer::Send(Response("200 OK", "done"))}});
    std::vector<std::string> events;
    RecordEvents(FClient, events);
    EXPECT_EQ(FClient.Post(server.Url("/a/b.php"), {{"k", "v"}}), "done");
    server.Finish();
    ASSERT_EQ(server.Received().size(), 1u);
    const std::string wire = server.Received()[0];
    const auto first = wire.find("POST /a/b.php HTTP/1.0\r\n");
    const auto second = wire.find("POST /a/next?x=1 HTTP/1.0\r\n");
    const auto third = wire.find("POST /final HTTP/1.0\r\n");
    ASSERT_EQ(first, 0u);
    ASSERT_NE(second, std::string::npos);
    ASSERT_NE(third, std::string::npos);
    // Each attempt carries the same headers and body; only the request line differs.
    const std::string one = wire.substr(wire.find("\r\n") + 2, second - wire.find("\r\n") - 2);
    const std::string two = wire.substr(wire.find("\r\n", second) + 2, third - wire.find("\r\n", second) - 2);
    EXPECT_EQ(one, two);
    EXPECT_NE(one.find("name=\"k\"\r\n\r\nv\r\n"), std::string::npos);
    // Redirect bodies are read with progress events but never delivered.
    const std::vector<std::string> expected = {
        "begin W " + std::to_string(one.size() - one.find("\r\n\r\n") - 4),
        "work W " + std::to_string(one.size() - one.find("\r\n\r\n") - 4),
        "end W",
        "begin R 5",
        "work R 5",
        "end R"};
    ASSERT_GE(events.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 6), expected);
    EXPECT_EQ(events.size(), 18u); // three attempts, each a write and a read cycle
}

TEST_F(HttpWireTest, RedirectChainReachingTheLimitFails) {
    for (const int redirects : {14, 15}) {
        TScript script;
        for (int i = 1; i <= redirects; ++i) {
            script.push_back(TServer::Request());
            script.push_back(TServer::Send(Response("301 Moved\r\nLocation: /r" + std::to_string(i), "")));
        }
        script.push_back(TServer::Request());
        script.push_back(TServer::Send(Response("200 OK", "end")));
        TServer server({script});
        std::ostringstream out;
        if (redirects == 14) {
            FClient.Get(server.Url("/r0"), out);
            EXPECT_EQ(out.str(), "end");
        } else {
            try {
                FClient.Get(server.Url("/r0"), out);
                ADD_FAILURE() << "no error";
            } catch (const ENetError &e) {
                EXPECT_STREQ(e.what(), "too many redirects");
            }
            EXPECT_EQ(out.str(), "");
        }
        FClient.Disconnect();
        server.Finish();
        ASSERT_EQ(server.Received().size(), 1u);
        std::size_t requests = 0;
        for (std::size_t at = 0; (at = server.Received()[0].find("GET /r", at)) != std::string::npos; ++at)
            ++requests;
        EXPECT_EQ(requests, 15u) << redirects << " redirects";
    }
}

TEST_F(HttpWireTest, RedirectToHttpsFailsWithoutTraffic) {
    TServer server({Answer(Response("302 Found\r\nLocation: https://127.0.0.1:1/", ""))},
                   std::chrono::seconds(3));
    std::ostringstream out;
    EXPECT_THROW(FClient.Get(server.Url("/"), out), ENetError);
    EXPECT_THROW(FClient.Get("https://127.0.0.1:" + std::to_string(server.Port()) + "/", out), ENetError);
    EXPECT_THROW(FClient.Get("ftp://127.0.0.1/", out), ENetError);
    server.Finish();
    EXPECT_EQ(server.Accepted(), 1);
}

TEST_F(HttpWireTest, RedirectToAnotherPortClosesTheFirstConnection) {
    TServer target({Answer(Response("200 OK", "there"))});
    TServer first(
        {{TServer::Request(), TServer::Send(Response("302 Found\r\nLocation: " + target.Url("/t"), "")),
          TServer::AwaitClose(3000)}});
    std::ostringstream out;
    FClient.Get(first.Url("/"), out);
    first.Finish();
    target.Finish();
    EXPECT_EQ(out.str(), "there");
    EXPECT_TRUE(first.ClientClosed()[0]);
    EXPECT_EQ(target.Received()[0].rfind("GET /t HTTP/1.1\r\n", 0), 0u);
}

TEST_F(HttpWireTest, CookiesAreStoredAndSentBackWhereTheyApply) {
    TServer server(
        {{TServer::Request(),
          TServer::Send(Response("200 OK\r\n"
                                 "Set-Cookie: PREF=ID=1:TM=2; expires=Sun, 17-Jan-2038 19:14:07 GMT; "
                                 "path=/; domain=127.0.0.1\r\n"
                                 "set-cookie2: second=2; Version=1\r\n"
                                 "Set-Cookie: secret=s; Secure\r\n"
                                 "Set-Cookie: empty=\r\n"
                                 "Set-Cookie: old=o; Expires=Thu, 01 Jan 1990 00:00:00 GMT\r\n"
                                 "Set-Cookie: elsewhere=e; Path=/other\r\n"
                                 "Set-Cookie: foreign=f; Domain=example.com\r\n"
                                 "Set-Cookie: gone=g",
                                 "")),
          TServer::Request(), TServer::Send(Response("200 OK\r\nSet-Cookie: gone=x; Max-Age=0", "")),
          TServer::Request(), TServer::Send(Response("200 OK", ""))}});
    std::ostringstream out;
    FClient.Get(server.Url("/search?q=1"), out);
    FClient.Get(server.Url("/search?start=10"), out);
    FClient.Get(server.Url("/other/page"), out);
    server.Finish();
    const std::string wire = server.Received()[0];
    std::vector<std::string> cookieLines;
    for (std::size_t at = 0; (at = wire.find("Cookie: ", at)) != std::string::npos; ++at)
        cookieLines.push_back(wire.substr(at, wire.find("\r\n", at) - at));
    ASSERT_EQ(cookieLines.size(), 2u);
    EXPECT_EQ(cookieLines[0], "Cookie: PREF=ID=1:TM=2; second=2; gone=g");
    EXPECT_EQ(cookieLines[1], "Cookie: PREF=ID=1:TM=2; second=2; elsewhere=e");
    // The cookie header is the last one.
    EXPECT_NE(wire.find(AgentLines + "Cookie: PREF"), std::string::npos);
}

TEST_F(HttpWireTest, ProgressEventsPerChunkAndForEveryBodyRead) {
    struct TCase {
        const char *name;
        std::string response;
        std::vector<std::string> events;
    };
    const std::vector<TCase> cases = {
        {"chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n5\r\n12345\r\n0\r\n\r\n",
         {"begin R 3", "work R 3", "end R", "begin R 5", "work R 5", "end R"}},
        {"counted", Response("200 OK", "abcd"), {"begin R 4", "work R 4", "end R"}},
        {"until close", "HTTP/1.1 200 OK\r\n\r\nxyz", {"begin R 0", "work R 3", "end R"}},
        {"empty", Response("200 OK", ""), {}},
        {"error body", Response("500 Oops", "err"), {"begin R 3", "work R 3", "end R"}},
    };
    for (const TCase &c : cases) {
        TServer server({Answer(c.response)});
        TFixedClock clock;
        THttpClient client(clock);
        std::vector<std::string> events;
        RecordEvents(client, events);
        std::ostringstream out;
        try {
            client.Get(server.Url("/"), out);
        } catch (const EHttpError &) {
        }
        EXPECT_EQ(events, c.events) << c.name;
    }
}

TEST_F(HttpWireTest, BodyArrivingInPiecesRaisesWorkWithTheRunningCount) {
    TServer server({{TServer::Request(), TServer::Send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nabc"),
                     TServer::Pause(300), TServer::Send("def")}});
    std::vector<std::string> events;
    RecordEvents(FClient, events);
    std::ostringstream out;
    FClient.Get(server.Url("/"), out);
    EXPECT_EQ(out.str(), "abcdef");
    EXPECT_EQ(events, (std::vector<std::string>{"begin R 6", "work R 3", "work R 6", "end R"}));
}

TEST_F(HttpWireTest, StaleKeptConnectionIsReplaced) {
    // The server drops the idle connection; the next call notices and connects again.
    TServer server({{TServer::Request(), TServer::Send(Response("200 OK", "1")), TServer::Close()},
                    Answer(Response("200 OK", "2"))});
    std::ostringstream out;
    FClient.Get(server.Url("/"), out);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    FClient.Get(server.Url("/"), out);
    EXPECT_EQ(out.str(), "12");
}

TEST_F(HttpWireTest, FakeClockFixesTheBoundaryDigits) {
    TFixedClock clock({2009, 3, 4, 5, 6, 7, 8});
    THttpClient client(clock);
    TServer server({Answer(Response("200 OK", ""))});
    client.Post(server.Url("/"), {{"n", "v"}});
    server.Finish();
    EXPECT_NE(
        server.Received()[0].find("Content-Type: multipart/form-data; boundary=--------030409050607008\r\n"),
        std::string::npos);
    EXPECT_NE(server.Received()[0].find("\r\n\r\n----------030409050607008\r\nContent-Disposition"),
              std::string::npos);
}

} // namespace
