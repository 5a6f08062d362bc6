#include "app/Application.h"
#include "app/CrashReporter.h"
#include "app/FMain.h"
#include "widgets/MsgMain.h"

#include <optional>

int main(int argc, char **argv) {
    TApplication application(argc, argv);
    TMsgMain errorBox;
    TCrashReporter crashReporter(errorBox);
    std::optional<int> exitCode;
    RunGuarded([&] {
        // On the stack, so the window outlives any handler still running when it closes.
        TfrmMain frmMain;
        frmMain.show();
        exitCode = TApplication::exec();
    });
    // Without a window there is nothing to go on with; the error has been shown.
    return exitCode.value_or(1);
}
