// One main for test programs that run without a toolkit: the dialog's window is the
// in-memory model, message boxes go to the scripted presenter a test installs.
#include <gtest/gtest.h>

#include "ui/resources/Templates.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    RegisterVarnokResources();
    return RUN_ALL_TESTS();
}
