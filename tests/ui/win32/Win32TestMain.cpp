#include <gtest/gtest.h>

#include "ComApartment.h"
#include "Win32Api.h"

// The window tests need the list-view class registered once for the whole run, and COM for what
// screen readers are told, as the program has both from its start.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    const quorrel::win32::ComApartment apartment;
    return RUN_ALL_TESTS();
}
