// Optical drive nodes coming and going become device-change messages for the top-level windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/win32/Windows.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace {

TEST(Win32DeviceWatch, OnlyOpticalDriveNodesCount) {
    const std::vector<std::string> names = {"sr1", "sda", "sr0", "sr", "srx", "sr10", "tty0", "ssr0"};
    EXPECT_EQ(Win32_OpticalDriveNodes(names), (std::vector<std::string>{"sr0", "sr1", "sr10"}));
}

TEST(Win32DeviceWatch, ADriveNodeArrivingOrGoingIsPostedToTopLevelWindows) {
    testing_vcl::TTempFolder dev("devwatch");
    std::ofstream(dev["sr0"]).close();
    std::vector<std::pair<HWND, WPARAM>> got;
    HWND top = nullptr, child = nullptr;
    top = Win32_CreateWindow(
        [&](UINT msg, WPARAM w, LPARAM) -> LRESULT {
            if (msg == WM_DEVICECHANGE) got.emplace_back(top, w);
            return 0;
        },
        true, "");
    child = Win32_CreateWindow(
        [&](UINT msg, WPARAM w, LPARAM) -> LRESULT {
            if (msg == WM_DEVICECHANGE) got.emplace_back(child, w);
            return 0;
        },
        false, "");
    ASSERT_TRUE(Win32_StartDeviceWatch(dev.Path()));

    std::ofstream(dev["sda1"]).close();   // not a drive: nothing to tell
    std::ofstream(dev["sr1"]).close();
    ASSERT_TRUE(testing_vcl::RunUntil([&] { return !got.empty(); }));
    EXPECT_EQ(got.front(), std::make_pair(top, DBT_DEVICEARRIVAL));

    got.clear();
    std::filesystem::remove(dev["sr0"]);
    ASSERT_TRUE(testing_vcl::RunUntil([&] { return !got.empty(); }));
    EXPECT_EQ(got.front(), std::make_pair(top, DBT_DEVICEREMOVECOMPLETE));
    for (const auto& [window, code] : got) EXPECT_EQ(window, top) << "child windows are not told";

    Win32_StopDeviceWatch();
    Win32_DestroyWindow(child);
    Win32_DestroyWindow(top);
}

}  // namespace
