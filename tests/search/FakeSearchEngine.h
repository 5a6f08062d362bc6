#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A search engine on 127.0.0.1 (ephemeral port) that answers "/search" by its start offset. It
// refuses to serve more than MaxRequests pages, so a runaway loop ends, and stops with its owner.
class TFakeSearchEngine final {
public:
    struct TAnswer {
        int status = 200;
        std::string body;
        bool stall = false; // send the body's first half, then hold the connection
    };

    static constexpr int MaxRequests = 40;

    TFakeSearchEngine() {
        FServer.Get("/search", [this](const httplib::Request &request, httplib::Response &response) {
            Serve(request, response);
        });
        FPort = FServer.bind_to_any_port("127.0.0.1");
        FThread = std::thread([this] { FServer.listen_after_bind(); });
        // stop() before the loop runs would be lost and leave the thread listening for ever.
        for (int i = 0; i < 500 && !FServer.is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    ~TFakeSearchEngine() {
        Release();
        FServer.stop();
        FThread.join();
    }

    TFakeSearchEngine(const TFakeSearchEngine &) = delete;
    TFakeSearchEngine &operator=(const TFakeSearchEngine &) = delete;

    std::string Host() const { return "127.0.0.1:" + std::to_string(FPort); }

    void SetAnswer(int start, TAnswer answer) {
        std::lock_guard lock(FMutex);
        FAnswers[start] = std::move(answer);
    }
    // Called on the server's thread while a request is served, before the answer goes out.
    void OnRequest(std::function<void()> handler) {
        std::lock_guard lock(FMutex);
        FOnRequest = std::move(handler);
    }
    std::vector<std::string> Targets() const {
        std::lock_guard lock(FMutex);
        return FTargets;
    }
    std::vector<std::string> HeaderValues(const std::string &name) const {
        std::lock_guard lock(FMutex);
        return name == "Pragma" ? FPragmas : FCacheControls;
    }
    // True once a stalled answer went on because nobody released it in time.
    bool StallTimedOut() const {
        std::lock_guard lock(FMutex);
        return FStallTimedOut;
    }
    // Lets a stalled answer finish.
    void Release() {
        std::lock_guard lock(FMutex);
        FReleased = true;
        FReleasedChanged.notify_all();
    }

private:
    void Serve(const httplib::Request &request, httplib::Response &response) {
        TAnswer answer;
        std::function<void()> onRequest;
        {
            std::lock_guard lock(FMutex);
            FTargets.push_back(request.target);
            FPragmas.push_back(request.get_header_value("Pragma"));
            FCacheControls.push_back(request.get_header_value("Cache-Control"));
            if (FTargets.size() > MaxRequests) {
                response.status = 503;
                return;
            }
            const int start = request.has_param("start") ? std::stoi(request.get_param_value("start")) : -1;
            const auto found = FAnswers.find(start);
            answer = found != FAnswers.end() ? found->second : TAnswer{404, "not here", false};
            onRequest = FOnRequest;
        }
        if (onRequest)
            onRequest();
        response.status = answer.status;
        if (!answer.stall) {
            response.set_content(answer.body, "text/html");
            return;
        }
        response.set_content_provider(
            answer.body.size(), "text/html",
            [this, body = answer.body](std::size_t offset, std::size_t, httplib::DataSink &sink) {
                if (offset == 0)
                    return sink.write(body.data(), body.size() / 2);
                // Bounded: a client that never disconnects still gets
                // the rest after a few seconds.
                std::unique_lock lock(FMutex);
                if (!FReleasedChanged.wait_for(lock, std::chrono::seconds(5), [this] { return FReleased; }))
                    FStallTimedOut = true;
                lock.unlock();
                return sink.write(body.data() + offset, body.size() - offset);
            });
    }

    httplib::Server FServer;
    int FPort = 0;
    std::thread FThread;
    mutable std::mutex FMutex;
    std::condition_variable FReleasedChanged;
    bool FReleased = false;
    bool FStallTimedOut = false;
    std::map<int, TAnswer> FAnswers;
    std::function<void()> FOnRequest;
    std::vector<std::string> FTargets;
    std::vector<std::string> FPragmas;
    std::vector<std::string> FCacheControls;
};
