#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>

class IMessageBox;

// Takes over errors that escape an event handler or the creation of a window: shows an error box
// with the error's text, and the program goes on. One reporter is in force per process; while
// none is installed, or while its box is already open, reports go to standard error, so nothing
// ever ends silently.
class TCrashReporter final {
public:
    explicit TCrashReporter(IMessageBox &box);
    ~TCrashReporter();
    TCrashReporter(const TCrashReporter &) = delete;
    TCrashReporter &operator=(const TCrashReporter &) = delete;

    static void Report(const std::string &text) noexcept;
    // The text of the exception being handled; call only inside a catch block.
    static std::string CurrentExceptionText();

private:
    void Show(const std::string &text) noexcept;

    IMessageBox &FBox;
    TCrashReporter *FPrevious;
    std::terminate_handler FPreviousTerminate;
    bool FShowing = false;
};

// Runs action; an error escaping it is reported (after its handler has unwound) and the caller
// goes on. True when the action completed.
bool RunGuarded(const std::function<void()> &action) noexcept;

// A slot that runs action guarded: connect signals to it, so an error in a handler is reported
// before it could unwind through Qt's own code (which does not expect exceptions).
template <typename TAction> auto Guarded(TAction action) {
    return [guarded = std::function<void()>(std::move(action))] { RunGuarded(guarded); };
}
