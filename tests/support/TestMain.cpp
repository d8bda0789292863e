// Entry point of every test program: headless widgets, then GoogleTest.
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/vcl/Widgets.h"

int main(int argc, char** argv) {
    // Whatever a test leaves in "the user's home" (a default output folder, a cache) stays in the
    // build tree, never in the real one.
    const std::filesystem::path home = std::filesystem::path(TEST_PEER_DIR) / ".." / "home";
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // A real-display test run without a display (ctest alone, not test.sh) runs headless; its
    // tests skip themselves.
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (ctest's discovery) opens no display.
    if (::testing::GTEST_FLAG(list_tests)) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Vcl_InitWidgets(argc, argv);
    return RUN_ALL_TESTS();
}
