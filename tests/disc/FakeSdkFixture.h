// Tests of the disc layer run on the scripted SDK; this fixture installs it and records the log.
#pragma once

#include "disc/Cdvddevice.h"
#include "disc/Log.h"
#include "disc/StarBurnSdk.h"
#include "tests/libs/starburn/FakeStarBurn.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

struct LogRecord {
    std::mutex mutex;
    std::vector<std::string> trace, status;

    bool Has(const std::vector<std::string>& lines, const std::string& line) {
        std::lock_guard lock(mutex);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

class FakeSdkTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_starburn::Reset();
        ASSERT_TRUE(fake_starburn::RegisterBackend(fake_starburn::FakeApi()));
        StarBurnSdkUnload();
        AddLogImp({[this](int, const char* text) {
                       std::lock_guard lock(log_.mutex);
                       log_.trace.push_back(text);
                   },
                   LOG_CHANNEL_TRACE});
        AddLogImp({[this](int, const char* text) {
                       std::lock_guard lock(log_.mutex);
                       log_.status.push_back(text);
                   },
                   LOG_CHANNEL_STATUS});
    }

    void TearDown() override {
        CDevice::Devices().clear();
        RemoveLogImps();
        StarBurnSdkUnload();
        Win32_UnregisterModule("starburn.dll");
    }

    fake_starburn::FakeDrive& AddDrive(const std::string& name) {
        auto& drives = fake_starburn::State().drives;
        drives.emplace_back();
        drives.back().name = name;
        drives.back().address[3] = static_cast<std::uint8_t>(drives.size());
        return drives.back();
    }

    fake_starburn::FakeDrive& Drive(std::size_t i) { return fake_starburn::State().drives[i]; }

    LogRecord log_;
};
