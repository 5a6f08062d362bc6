// vellmark-tool get / post: check a server by hand with the program's own HTTP clients.
#include "net/HttpClient.h"
#include "platform/Clock.h"
#include "tools/ToolCommand.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

int RunGet(const std::vector<std::string> &arguments) {
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: vellmark-tool get URL FILE\n");
        return 2;
    }
    std::ofstream file(arguments[1], std::ios::binary | std::ios::trunc);
    if (!file) {
        std::fprintf(stderr, "vellmark-tool get: cannot create %s\n", arguments[1].c_str());
        return 1;
    }
    // The search client's profile: the page fetcher sets these two before every request.
    THttpClient client(SystemClock());
    client.SetPragma("no-cache");
    client.SetCacheControl("no-cache");
    const auto start = std::chrono::steady_clock::now();
    int result = 0;
    try {
        client.Get(arguments[0], file);
        file.flush();
        if (!file)
            throw ENetError("Could not write " + arguments[1]);
        std::printf("status: %s\n", client.LastStatusLine().c_str());
    } catch (const EHttpError &error) {
        std::printf("status: %s\n", error.StatusLine().c_str());
        result = 1;
    } catch (const ENetError &error) {
        std::printf("error: %s\n", error.what());
        result = 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("bytes: %lld\ntime: %.3f s\n", static_cast<long long>(file.tellp()), seconds);
    return result;
}

int RunPost(const std::vector<std::string> &arguments) {
    if (arguments.empty()) {
        std::fprintf(stderr, "usage: vellmark-tool post URL name=value ...\n");
        return 2;
    }
    TFormFields form;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const auto equals = arguments[i].find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "vellmark-tool post: field without '=': %s\n", arguments[i].c_str());
            return 2;
        }
        form.emplace_back(arguments[i].substr(0, equals), arguments[i].substr(equals + 1));
    }
    THttpClient client(SystemClock());
    try {
        const std::string body = client.Post(arguments[0], form);
        std::cout.write(body.data(), static_cast<std::streamsize>(body.size()));
        std::cout.flush();
        return 0;
    } catch (const EHttpError &error) {
        std::fprintf(stderr, "status: %s\n", error.StatusLine().c_str());
        std::cout.write(error.Body().data(), static_cast<std::streamsize>(error.Body().size()));
        return 1;
    }
}

const TToolCommandRegistration
    getCommand({"get", "URL FILE",
                "fetch URL into FILE as the search client does; report status, bytes, time", &RunGet});
const TToolCommandRegistration
    postCommand({"post", "URL name=value ...",
                 "post a multipart form as the general client does; print the body", &RunPost});

} // namespace
