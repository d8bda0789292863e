// The log dispatcher: lines reach the sinks of their channel only, formatted and bounded.
#include "disc/Log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Recorded {
    std::vector<std::pair<int, std::string>> lines;   // level, text
};

class LogTest : public ::testing::Test {
protected:
    void TearDown() override { RemoveLogImps(); }

    void Listen(int channel, Recorded& into) {
        AddLogImp({[&into](int level, const char* text) { into.lines.emplace_back(level, text); }, channel});
    }
};

TEST_F(LogTest, ALineWithNoSinkGoesNowhere) {
    Log(LOG_CHANNEL_STATUS, LOG_LEVEL_INFO, "Started");
    Recorded status;
    Listen(LOG_CHANNEL_STATUS, status);
    EXPECT_TRUE(status.lines.empty());
}

TEST_F(LogTest, EachChannelReachesOnlyItsSinksInOrder) {
    Recorded trace, status1, status2;
    Listen(LOG_CHANNEL_TRACE, trace);
    Listen(LOG_CHANNEL_STATUS, status1);
    Listen(LOG_CHANNEL_STATUS, status2);
    Log(LOG_CHANNEL_STATUS, LOG_LEVEL_INFO, "Started");
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR, "\nCDevice::Eject()): failed, exception %ld\n", 7L);
    Log(LOG_CHANNEL_STATUS, LOG_LEVEL_WARNING, "Burning Complete!");
    const std::vector<std::pair<int, std::string>> statusLines = {{LOG_LEVEL_INFO, "Started"},
                                                                  {LOG_LEVEL_WARNING, "Burning Complete!"}};
    EXPECT_EQ(status1.lines, statusLines);
    EXPECT_EQ(status2.lines, statusLines);
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0], std::make_pair(LOG_LEVEL_ERROR, std::string("\nCDevice::Eject()): failed, exception 7\n")));
}

TEST_F(LogTest, FormatsAreReadAsPrintfReadsThem) {
    Recorded trace;
    Listen(LOG_CHANNEL_TRACE, trace);
    std::int64_t big = 4700000000LL;
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "Burning %lld UCHARs", static_cast<long long>(big));
    DispatchLog(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "%d%% as it stands");
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "%d%% ", 42);
    ASSERT_EQ(trace.lines.size(), 3u);
    EXPECT_EQ(trace.lines[0].second, "Burning 4700000000 UCHARs");
    EXPECT_EQ(trace.lines[1].second, "%d%% as it stands");
    EXPECT_EQ(trace.lines[2].second, "42% ");
}

TEST_F(LogTest, AnOverlongLineIsCutNotOverrun) {
    Recorded trace;
    Listen(LOG_CHANNEL_TRACE, trace);
    std::string longText(10000, 'x');
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "Found device: <%s>\n", longText.c_str());
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0].second.size(), 4095u);
    EXPECT_EQ(trace.lines[0].second.rfind("Found device: <", 0), 0u);
}

}  // namespace
