// Entry point of every test program: headless widgets, then GoogleTest.
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/vcl/Widgets.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    Vcl_InitWidgets(argc, argv);
    return RUN_ALL_TESTS();
}
