#include <gtest/gtest.h>

#include <QApplication>

// The window tests need one application object for the whole run. They draw offscreen unless a
// platform is asked for, so that they run without a display. Listing the tests needs no toolkit.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
