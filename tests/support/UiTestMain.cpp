// Entry point of every test executable that needs widgets: one application object for all tests.
#include "app/Application.h"

#include <gmock/gmock.h>

int main(int argc, char **argv) {
    // Test discovery runs the executable outside CTest's environment: never reach for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleMock(&argc, argv);
    TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
