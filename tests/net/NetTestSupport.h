#pragma once

#include "net/HttpClient.h"
#include "platform/Clock.h"

#include <string>
#include <vector>

// A clock stuck at one instant, for the multipart boundary.
class TFixedClock final : public IClock {
public:
    explicit TFixedClock(TLocalTime time = {2007, 12, 25, 14, 3, 9, 45}) : FTime(time) {}
    std::optional<std::uint64_t> PerformanceCounter() override { return 1; }
    std::uint32_t TickCount() override { return 1; }
    TLocalTime LocalTime() override { return FTime; }
    void Sleep(std::uint32_t) override {}

private:
    TLocalTime FTime;
};

// Records a client's progress events as text: "begin R 5", "work R 3", "end R".
inline std::vector<std::string> &RecordEvents(THttpClient &client, std::vector<std::string> &log) {
    const auto mode = [](TWorkMode m) { return m == TWorkMode::Read ? "R" : "W"; };
    client.OnWorkBegin = [&log, mode](TWorkMode m, std::int64_t expected) {
        log.push_back(std::string("begin ") + mode(m) + " " + std::to_string(expected));
    };
    client.OnWork = [&log, mode](TWorkMode m, std::int64_t soFar) {
        log.push_back(std::string("work ") + mode(m) + " " + std::to_string(soFar));
    };
    client.OnWorkEnd = [&log, mode](TWorkMode m) { log.push_back(std::string("end ") + mode(m)); };
    return log;
}

inline std::string Response(const std::string &statusAndHeaders, const std::string &body) {
    return "HTTP/1.1 " + statusAndHeaders + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

inline const std::string AgentLines = "Accept: text/html, */*\r\n"
                                      "User-Agent: Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)\r\n";
