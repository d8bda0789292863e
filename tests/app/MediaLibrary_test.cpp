// The program's binding of the media library: all entry points or none, and the shared
// grabber client driving the real library on clips made here.
#include <gtest/gtest.h>

#include "app/MediaLibrary.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// ---- stand-ins ------------------------------------------------------------------------------

int g_unInitCalls = 0;
extern "C" int StandInInfo(const char*, int, std::int32_t*) { return -1; }
extern "C" int StandInFrame(int, int, const char*, std::uint8_t**, std::int32_t*) { return -1; }
extern "C" int StandInInit(void*, int, const char*, const char*, const char*) { return 0; }
extern "C" int StandInNext(int) { return 0; }
extern "C" int StandInUnInit() {
    ++g_unInitCalls;
    return 0;
}

FARPROC Proc(auto* function) { return reinterpret_cast<FARPROC>(function); }

class StandInLibrary : public ::testing::Test {
protected:
    void TearDown() override { Win32_UnregisterModule(MediaLibraryName); }
};

TEST_F(StandInLibrary, AMissingEntryPointCountsAsAMissingLibrary) {
    Win32_RegisterModule(MediaLibraryName, {{"X_GetFileinfo_GetPic", Proc(&StandInInfo)},
                                            {"X_Get_Frame", Proc(&StandInFrame)}});
    EXPECT_NE(TMediaLibrary::Load(TMediaEntries::Information), nullptr);
    EXPECT_EQ(TMediaLibrary::Load(TMediaEntries::Grabber), nullptr);
    EXPECT_EQ(TMediaLibrary::Load(TMediaEntries::InformationAndGrabber), nullptr);
    TFrameGrabberClient client;
    EXPECT_FALSE(client.Load());
    EXPECT_FALSE(client.IsLoaded());
    EXPECT_FALSE(client.Start("x.mpg", 0)) << "nothing to start without a binding";
}

TEST_F(StandInLibrary, AClientThatStartsNoRunNeverWaits) {
    Win32_RegisterModule(MediaLibraryName, {{"X_GetFileinfo_GetPic", Proc(&StandInInfo)},
                                            {"X_Get_Frame", Proc(&StandInFrame)},
                                            {"X_GetFrame_Init", Proc(&StandInInit)},
                                            {"X_Set_NextFrame_Time", Proc(&StandInNext)},
                                            {"X_GetFrame_UnInit", Proc(&StandInUnInit)}});
    g_unInitCalls = 0;
    TFrameGrabberClient client;
    ASSERT_TRUE(client.Load(TMediaEntries::InformationAndGrabber));
    EXPECT_TRUE(client.Load()) << "bound already";
    EXPECT_FALSE(client.RequestFrame(3)) << "no run: no request, no wait";
    client.Unload();
    EXPECT_FALSE(client.IsLoaded());
    EXPECT_EQ(g_unInitCalls, 0);
}

// ---- the real library -----------------------------------------------------------------------

struct Clips : testing_vcl::TTempFolder {
    bool made = false;
    Clips() : TTempFolder("media_library_test") {
        made = !Path().empty() &&
               testing_vcl::Ffmpeg("-filter_complex \"color=c=red:s=320x240:r=25:d=1[a];color=c=blue:s=320x240:r=25:d=1[b];"
                                   "color=c=white:s=320x240:r=25:d=1[c];[a][b][c]concat=n=3:v=1:a=0[v]\" -map \"[v]\" "
                                   "-c:v mpeg2video -aspect 4:3 -f vob",
                                   (*this)["seconds.mpg"]);
    }
};

const Clips& TestClips() {
    static Clips clips;
    return clips;
}

bool NearColour(COLORREF colour, int r, int g, int b) {
    auto close = [](int a, int e) { return std::abs(a - e) <= 14; };
    return close(colour & 0xFF, r) && close((colour >> 8) & 0xFF, g) && close((colour >> 16) & 0xFF, b);
}

TEST(MediaLibrary, InformationAndFirstPictureAsABitmap) {
    ASSERT_TRUE(TestClips().made);
    auto library = TMediaLibrary::Load(TMediaEntries::Information);
    ASSERT_NE(library, nullptr);
    TMediaInfoRecord record;
    ASSERT_EQ(library->GetFileInfo(TestClips()["seconds.mpg"], record), 0);
    EXPECT_EQ(record.Width(), 320);
    EXPECT_EQ(record.Height(), 240);
    EXPECT_EQ(record.Words[5], 2);
    std::unique_ptr<TBitmap> picture(library->GetFrame(record.Width(), record.Height(), "2.bmp"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetPixelFormat(), pf24bit);
    EXPECT_TRUE(NearColour(picture->GetPixelColor(160, 120), 255, 0, 0));
    EXPECT_EQ(library->GetFileInfo(TestClips()["missing.mpg"], record), -1);
}

TEST(FrameGrabberClient, ARunThroughTheSharedClient) {
    ASSERT_TRUE(TestClips().made);
    std::vector<UINT> messages;
    TFrameGrabberClient client;
    client.WaitPauseMs = 5;
    client.OnMessage = [&](UINT msg, WPARAM, LPARAM) { messages.push_back(msg); };
    ASSERT_TRUE(client.Load());
    ASSERT_TRUE(client.Start(TestClips()["seconds.mpg"], 0));
    struct {
        int second;
        int r, g, b;
    } const grabs[] = {{1, 0, 0, 255}, {2, 255, 255, 255}, {0, 255, 0, 0}};
    for (const auto& grab : grabs) {
        ASSERT_TRUE(client.RequestFrame(grab.second));
        int second = -1;
        std::unique_ptr<TBitmap> frame(client.GrabFrame(32, 24, &second));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(second, grab.second);
        EXPECT_TRUE(NearColour(frame->GetPixelColor(16, 12), grab.r, grab.g, grab.b)) << grab.second;
    }
    client.Unload();
    const std::vector<UINT> expected = {WM_MEDIA_INIT_DONE, WM_MEDIA_FRAME_READY, WM_MEDIA_FRAME_READY,
                                        WM_MEDIA_FRAME_READY, WM_MEDIA_UNINIT_DONE};
    EXPECT_EQ(messages, expected);
}

TEST(FrameGrabberClient, AFileThatWontOpenStillEndsTheRun) {
    TFrameGrabberClient client;
    client.WaitPauseMs = 5;
    ASSERT_TRUE(client.Load());
    EXPECT_FALSE(client.Start("/nonexistent/clip.mpg", 0));
    EXPECT_FALSE(client.RequestFrame(1));
    client.Unload();
    EXPECT_FALSE(client.IsLoaded());
}

}  // namespace
