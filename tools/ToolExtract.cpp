// vellmark-tool extract: what the search would take out of a saved result page, for when the
// engine's markup changes.
#include "app/BuildConfig.h"
#include "search/PageFile.h"
#include "search/ResultExtraction.h"
#include "tools/ToolCommand.h"
#include "utils/WorkBuffer.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int RunExtract(const std::vector<std::string> &arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: vellmark-tool extract PAGEFILE\n");
        return 2;
    }
    TWorkBuffer page(ReadPageFile(arguments[0]));

    std::string out;
    ScanResultPage(page, BuildConfig::ImageSearchPrefix, [&](const TCandidate &candidate) {
        out += candidate.link;
        out += '\t';
        out += candidate.title;
        out += '\t';
        out += ExtractDomain(candidate.link);
        out += '\n';
    });
    out += HasNextPage(page) ? "next: yes\n" : "next: no\n";

    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vellmark-tool extract: cannot write the output\n");
        return 1;
    }
    return 0;
}

const TToolCommandRegistration registration({"extract", "PAGEFILE",
                                             "List the results the search takes from a saved result page "
                                             "(link, title, domain), then whether it has a next page",
                                             RunExtract});

} // namespace
