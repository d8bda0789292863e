// The program's binding of the media library: all entry points or none, and the shared
// grabber client driving the real library on clips made here.
#include <gtest/gtest.h>

#include "core/MediaLibrary.h"
#include "platform/vcl/Forms.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
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

// A job binds only the entry points it asked for, even where the library has them all.
TEST_F(StandInLibrary, AJobUsesOnlyTheEntryPointsItAskedFor) {
    Win32_RegisterModule(MediaLibraryName, {{"X_GetFileinfo_GetPic", Proc(&StandInInfo)},
                                            {"X_Get_Frame", Proc(&StandInFrame)},
                                            {"X_GetFrame_Init", Proc(&StandInInit)},
                                            {"X_Set_NextFrame_Time", Proc(&StandInNext)},
                                            {"X_GetFrame_UnInit", Proc(&StandInUnInit)}});
    auto information = TMediaLibrary::Load(TMediaEntries::Information);
    ASSERT_NE(information, nullptr);
    EXPECT_FALSE(information->InitGrabber(nullptr, "x.mpg", 0));
    EXPECT_FALSE(information->SetNextFrameTime(1));
    auto grabber = TMediaLibrary::Load(TMediaEntries::Grabber);
    ASSERT_NE(grabber, nullptr);
    TMediaInfoRecord record;
    EXPECT_EQ(grabber->GetFileInfo("x.mpg", record), -1);
    EXPECT_TRUE(grabber->SetNextFrameTime(1));
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

// A stand-in that answers only when the test says so: it notes each request, and the test posts
// the library's answers to the window the client gave.
struct TScriptedGrabber {
    HWND window = nullptr;
    std::vector<std::string> requests;
    bool answerUnInit = true;  // X_GetFrame_UnInit answers at once (as the library does)
};
TScriptedGrabber* g_scripted = nullptr;
extern "C" int ScriptedInit(void* window, int, const char* path, const char*, const char* second) {
    g_scripted->window = static_cast<HWND>(window);
    g_scripted->requests.push_back(std::string("init ") + path + " " + second);
    return 0;
}
extern "C" int ScriptedNext(int second) {
    g_scripted->requests.push_back("next " + std::to_string(second));
    return 0;
}
extern "C" int ScriptedUnInit() {
    g_scripted->requests.push_back("uninit");
    if (g_scripted->answerUnInit) PostMessageA(g_scripted->window, WM_MEDIA_UNINIT_DONE, 0, 0);
    return 0;
}

void RegisterScripted() {
    Win32_RegisterModule(MediaLibraryName, {{"X_Get_Frame", Proc(&StandInFrame)},
                                            {"X_GetFrame_Init", Proc(&ScriptedInit)},
                                            {"X_Set_NextFrame_Time", Proc(&ScriptedNext)},
                                            {"X_GetFrame_UnInit", Proc(&ScriptedUnInit)}});
}

// Lets the user-interface thread run until Done holds; the bound only keeps a broken build
// from hanging the suite.
bool PumpUntil(const std::function<bool()>& Done) {
    const DWORD started = GetTickCount();
    while (!Done()) {
        if (GetTickCount() - started > 60000) return false;
        Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

void Pump() {
    for (int i = 0; i < 5; ++i) {
        Application->ProcessMessages();
        Sleep(2);
    }
}

struct TAnswer {
    UINT msg;
    WPARAM wParam;
    int request;
    bool operator==(const TAnswer&) const = default;
};

class ScriptedLibrary : public StandInLibrary {
protected:
    TScriptedGrabber scripted;
    std::vector<TAnswer> answers;
    int timeOuts = 0;
    TFrameGrabberClient client;  // last: its end may still answer into the members above
    void SetUp() override {
        g_scripted = &scripted;
        RegisterScripted();
        client.WaitPauseMs = 2;
        client.TimeoutMs = 300;
        client.OnMessage = [this](UINT msg, WPARAM w, LPARAM) { answers.push_back({msg, w, client.AnsweredRequest()}); };
        client.OnTimeOut = [this] { ++timeOuts; };
        ASSERT_TRUE(client.Load());
    }
    void Answer(UINT msg, WPARAM w) { PostMessageA(scripted.window, msg, w, 0); }
};

TEST_F(ScriptedLibrary, RequestsReturnAtOnceAndAreAnsweredThroughOnMessage) {
    int start = client.PostStart("a.mpg", 7);
    ASSERT_NE(start, 0);
    EXPECT_TRUE(client.IsRunning());
    EXPECT_FALSE(client.IsReady()) << "not before its answer";
    EXPECT_EQ(client.PendingRequests(), 1);
    Answer(WM_MEDIA_INIT_DONE, 1);
    Pump();
    EXPECT_TRUE(client.IsReady());
    int frame = client.PostFrameRequest(12);
    ASSERT_GT(frame, start);
    Answer(WM_MEDIA_FRAME_READY, 1);
    Pump();
    const std::vector<TAnswer> expected = {{WM_MEDIA_INIT_DONE, 1, start}, {WM_MEDIA_FRAME_READY, 1, frame}};
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(client.PendingRequests(), 0);
    EXPECT_EQ(scripted.requests, (std::vector<std::string>{"init a.mpg 7", "next 12"}));
    EXPECT_EQ(timeOuts, 0);
}

TEST_F(ScriptedLibrary, AnAnswerOfAnEndedRunIsDropped) {
    ASSERT_NE(client.PostStart("old.mpg", 0), 0);
    Answer(WM_MEDIA_INIT_DONE, 1);
    Pump();
    ASSERT_NE(client.PostFrameRequest(5), 0);
    // A newer run starts before the old frame's answer comes.
    int restart = client.PostStart("new.mpg", 3);
    Answer(WM_MEDIA_FRAME_READY, 1);   // the old run's frame, late
    Answer(WM_MEDIA_INIT_DONE, 1);
    Pump();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[1], (TAnswer{WM_MEDIA_INIT_DONE, 1, restart})) << "the old frame never reaches the window";
    EXPECT_TRUE(client.IsReady());
}

TEST_F(ScriptedLibrary, UnloadDropsTheOpenFrameAndReportsTheEnd) {
    ASSERT_NE(client.PostStart("a.mpg", 0), 0);
    Answer(WM_MEDIA_INIT_DONE, 1);
    Pump();
    ASSERT_NE(client.PostFrameRequest(9), 0);
    answers.clear();
    // The frame's answer arrives while the unload waits, before the end's.
    Answer(WM_MEDIA_FRAME_READY, 1);
    client.Unload();
    EXPECT_FALSE(client.IsLoaded());
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].msg, WM_MEDIA_UNINIT_DONE);
    EXPECT_EQ(timeOuts, 0);
}

TEST_F(ScriptedLibrary, AnAnswerNobodyAskedForIsDropped) {
    ASSERT_NE(client.PostStart("a.mpg", 0), 0);
    Answer(WM_MEDIA_FRAME_READY, 1);
    Answer(WM_MEDIA_INIT_DONE, 0);
    Pump();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].msg, WM_MEDIA_INIT_DONE);
    EXPECT_FALSE(client.IsReady()) << "the file did not open";
}

TEST_F(ScriptedLibrary, ASilentLibraryTimesOutAndLeavesTheClientIdle) {
    // A waiting start that is never answered.
    EXPECT_FALSE(client.Start("a.mpg", 0));
    EXPECT_EQ(timeOuts, 1);
    EXPECT_FALSE(client.IsLoaded());
    EXPECT_FALSE(client.IsRunning());
    EXPECT_EQ(client.PostFrameRequest(3), 0) << "idle: nothing is sent";
    const std::size_t sent = scripted.requests.size();
    client.Unload();
    EXPECT_EQ(scripted.requests.size(), sent) << "nothing more is asked of a library given up";

    // A request that returns at once, never answered: the client gives up by itself.
    ASSERT_TRUE(client.Load());
    ASSERT_NE(client.PostStart("b.mpg", 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return timeOuts == 2; }));
    EXPECT_FALSE(client.IsLoaded());
    // Its late answer reaches a window that drops it.
    Answer(WM_MEDIA_INIT_DONE, 1);
    Pump();
    EXPECT_TRUE(answers.empty());

    // Loaded again, the client works as before.
    ASSERT_TRUE(client.Load());
    int start = client.PostStart("c.mpg", 0);
    Answer(WM_MEDIA_INIT_DONE, 1);
    Pump();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].request, start);
}

TEST_F(ScriptedLibrary, AnUnloadThatIsNeverAnsweredTimesOut) {
    ASSERT_NE(client.PostStart("a.mpg", 0), 0);
    Answer(WM_MEDIA_INIT_DONE, 1);
    Pump();
    scripted.answerUnInit = false;
    client.Unload();
    EXPECT_EQ(timeOuts, 1);
    EXPECT_FALSE(client.IsLoaded());
    EXPECT_FALSE(client.IsUnloading());
}

TEST_F(StandInLibrary, WithoutALibraryTheClientStaysIdle) {
    Win32_RegisterModule(MediaLibraryName, {{"X_Unrelated", Proc(&StandInNext)}});
    TFrameGrabberClient client;
    int messages = 0;
    client.OnMessage = [&](UINT, WPARAM, LPARAM) { ++messages; };
    EXPECT_FALSE(client.Load());
    EXPECT_EQ(client.PostStart("a.mpg", 0), 0);
    EXPECT_EQ(client.PostFrameRequest(1), 0);
    EXPECT_FALSE(client.IsRunning());
    EXPECT_EQ(client.GrabFrame(32, 24), nullptr);
    client.Unload();
    Pump();
    EXPECT_EQ(messages, 0);
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
    EXPECT_EQ(library->GetFrame(record.Width(), record.Height(), "2.bmp"), nullptr)
        << "after a failed call there is no picture, not the last file's";
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

TEST(FrameGrabberClient, ASeekThatDoesNotWait) {
    ASSERT_TRUE(TestClips().made);
    TFrameGrabberClient client;
    std::vector<COLORREF> colours;
    // As the clip editor does: on the start's answer ask for the second, on the frame's grab it.
    client.OnMessage = [&](UINT msg, WPARAM wParam, LPARAM) {
        if (msg == WM_MEDIA_INIT_DONE && wParam == 1) client.PostFrameRequest(2);
        if (msg != WM_MEDIA_FRAME_READY || wParam != 1) return;
        std::unique_ptr<TBitmap> frame(client.GrabFrame(32, 24));
        if (frame) colours.push_back(frame->GetPixelColor(16, 12));
    };
    ASSERT_TRUE(client.Load());
    ASSERT_NE(client.PostStart(TestClips()["seconds.mpg"], 2), 0);
    ASSERT_TRUE(PumpUntil([&] { return !colours.empty(); }));
    EXPECT_TRUE(NearColour(colours[0], 255, 255, 255));
    ASSERT_NE(client.PostFrameRequest(1), 0);
    ASSERT_TRUE(PumpUntil([&] { return colours.size() == 2; }));
    EXPECT_TRUE(NearColour(colours[1], 0, 0, 255));
    client.Unload();
    EXPECT_FALSE(client.IsLoaded());
}

TEST(FrameGrabberClient, AWaitInsideAnAnswer) {
    ASSERT_TRUE(TestClips().made);
    // Declared before the client: its unload still answers, into these.
    std::vector<int> answered;
    bool grabbed = false;
    TFrameGrabberClient client;
    client.WaitPauseMs = 5;
    client.OnMessage = [&](UINT msg, WPARAM wParam, LPARAM) {
        answered.push_back(client.AnsweredRequest());
        if (msg != WM_MEDIA_INIT_DONE || wParam != 1) return;
        // A waiting request from inside the start's answer: its own answer comes meanwhile.
        grabbed = client.RequestFrame(2);
        answered.push_back(client.AnsweredRequest());
    };
    ASSERT_TRUE(client.Load());
    int start = client.PostStart(TestClips()["seconds.mpg"], 0);
    ASSERT_TRUE(PumpUntil([&] { return answered.size() == 3; }));
    EXPECT_TRUE(grabbed);
    EXPECT_EQ(answered, (std::vector<int>{start, start + 1, start})) << "the start's number again after the wait";
    std::unique_ptr<TBitmap> frame(client.GrabFrame(32, 24));
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(NearColour(frame->GetPixelColor(16, 12), 255, 255, 255));
}

TEST(FrameGrabberClient, ADyingClientCallsNoneOfItsOwnersCallbacks) {
    ASSERT_TRUE(TestClips().made);
    std::vector<UINT> messages;
    auto client = std::make_unique<TFrameGrabberClient>();
    client->WaitPauseMs = 5;
    client->OnMessage = [&](UINT msg, WPARAM, LPARAM) { messages.push_back(msg); };
    ASSERT_TRUE(client->Load());
    ASSERT_NE(client->PostStart(TestClips()["seconds.mpg"], 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return !messages.empty(); }));
    client.reset();   // a run still going: its end is waited for, but not reported
    EXPECT_EQ(messages, std::vector<UINT>{WM_MEDIA_INIT_DONE});
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
