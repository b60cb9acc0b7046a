#include "platform/GuardedApplication.h"

#include <gtest/gtest.h>

// Test executables that need widgets create the one application object here,
// the same guarded kind the program uses.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::GuardedApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
