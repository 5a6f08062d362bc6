#include "app/CrashReporter.h"

#include "platform/MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

TCrashReporter *Installed = nullptr;

void WriteToStandardError(const std::string &text) noexcept {
    std::fprintf(stderr, "vellmark: %s\n", text.c_str());
    std::fflush(stderr);
}

// Errors that cannot be handled at all (one leaving a destructor, say) still leave a line.
[[noreturn]] void Terminate() noexcept {
    std::string text = "terminated";
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (...) {
            try {
                text = "terminated by an unhandled error: " + TCrashReporter::CurrentExceptionText();
            } catch (...) {
            }
        }
    }
    WriteToStandardError(text);
    std::abort();
}

} // namespace

TCrashReporter::TCrashReporter(IMessageBox &box)
    : FBox(box), FPrevious(Installed), FPreviousTerminate(std::set_terminate(Terminate)) {
    Installed = this;
}

TCrashReporter::~TCrashReporter() {
    Installed = FPrevious;
    std::set_terminate(FPreviousTerminate);
}

std::string TCrashReporter::CurrentExceptionText() {
    try {
        throw;
    } catch (const std::exception &error) {
        return error.what();
    } catch (...) {
        return "Unknown error";
    }
}

void TCrashReporter::Report(const std::string &text) noexcept {
    if (Installed)
        Installed->Show(text);
    else
        WriteToStandardError(text);
}

void TCrashReporter::Show(const std::string &text) noexcept {
    // An error while the box is open (a timer, say) must not pile box upon box.
    if (FShowing) {
        WriteToStandardError(text);
        return;
    }
    FShowing = true;
    try {
        FBox.Show(TMsgKind::Warning, text, TMsgButtons::Ok);
    } catch (...) {
        WriteToStandardError(text);
    }
    FShowing = false;
}

bool RunGuarded(const std::function<void()> &action) noexcept {
    std::string error;
    try {
        action();
        return true;
    } catch (...) {
        try {
            error = TCrashReporter::CurrentExceptionText();
        } catch (...) {
            error = "Unknown error";
        }
    }
    TCrashReporter::Report(error);
    return false;
}
