#include <gtest/gtest.h>

#include "ComApartment.h"
#include "ControlClasses.h"
#include "Win32Api.h"

// The window tests need the list-view class registered once for the whole run, and COM for what
// screen readers are told, as the program has both from its start.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    quorrel::win32::registerControlClasses();
    const quorrel::win32::ComApartment apartment;
    return RUN_ALL_TESTS();
}
