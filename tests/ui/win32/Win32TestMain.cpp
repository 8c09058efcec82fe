#include <gtest/gtest.h>

#include "Win32Api.h"

// The window tests need the list-view class registered once for the whole run, as the program
// registers it at its start.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    return RUN_ALL_TESTS();
}
