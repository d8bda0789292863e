// Windows and messages: posting across threads, order, sending, pumping on a worker thread.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/win32/Windows.h"

namespace {

constexpr DWORD kPatience_ms = 20000;   // a safety net against hanging, never a measured time

// Runs the calling (UI) thread's message pump until done() or the patience runs out.
template <class Done>
bool PumpUntil(Done done, HWND filter = nullptr) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > kPatience_ms) return false;
        MSG msg;
        while (PeekMessageA(&msg, filter, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    }
    return true;
}

// Collects what a window receives, from whichever thread it runs on.
struct Recorder {
    std::mutex mutex;
    std::vector<std::pair<UINT, WPARAM>> received;
    std::vector<DWORD> threads;
    Win32WindowProc Proc() {
        return [this](UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
            std::lock_guard lock(mutex);
            received.emplace_back(msg, wParam);
            threads.push_back(GetCurrentThreadId());
            return static_cast<LRESULT>(wParam * 2);
        };
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return received.size();
    }
};

class Window {
public:
    explicit Window(Win32WindowProc proc, const std::string& title = "")
        : handle_(Win32_CreateWindow(std::move(proc), false, title)) {}
    ~Window() { Win32_DestroyWindow(handle_); }
    HWND get() const { return handle_; }

private:
    HWND handle_;
};

TEST(Win32Messages, PostFromAWorkerIsHandledOnTheUiThreadByQtsLoop) {
    Recorder recorder;
    Window target(recorder.Proc());
    // Pumping only another window's messages: the post must reach its window through the drain
    // that the post schedules on Qt's loop.
    Window bystander([](UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
    std::thread worker([&] { EXPECT_TRUE(PostMessageA(target.get(), WM_USER + 1, 5, 0)); });
    worker.join();
    ASSERT_TRUE(PumpUntil([&] { return recorder.Count() == 1; }, bystander.get()));
    EXPECT_EQ(recorder.received[0], std::make_pair(WM_USER + 1, WPARAM{5}));
    EXPECT_EQ(recorder.threads[0], GetCurrentThreadId());
}

TEST(Win32Messages, PostsToOneWindowKeepTheirOrder) {
    Recorder recorder;
    Window target(recorder.Proc());
    constexpr int kCount = 300;
    std::thread worker([&] {
        for (int i = 0; i < kCount; ++i) PostMessageA(target.get(), WM_USER, static_cast<WPARAM>(i), 0);
    });
    ASSERT_TRUE(PumpUntil([&] { return recorder.Count() == kCount; }));
    worker.join();
    for (int i = 0; i < kCount; ++i) EXPECT_EQ(recorder.received[static_cast<std::size_t>(i)].second, WPARAM(i));
}

TEST(Win32Messages, MessagesQueuedForADestroyedWindowAreDropped) {
    Recorder doomed;
    Recorder sentinel;
    HWND gone = Win32_CreateWindow(doomed.Proc(), false, "");
    Window after(sentinel.Proc());
    std::thread worker([&] {
        for (WPARAM i = 0; i < 3; ++i) PostMessageA(gone, WM_USER, i, 0);
    });
    worker.join();
    Win32_DestroyWindow(gone);
    PostMessageA(after.get(), WM_USER, 0, 0);
    // One queue per thread in order: once the later message is in, the earlier ones would be.
    ASSERT_TRUE(PumpUntil([&] { return sentinel.Count() == 1; }));
    EXPECT_EQ(doomed.Count(), 0u);
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageA(gone, WM_USER, 1, 0), 0);
    EXPECT_EQ(doomed.Count(), 0u);
}

TEST(Win32Messages, HandlesAreNeverReusedAndStaleOnesAreDetected) {
    std::set<HWND> seen;
    for (int i = 0; i < 200; ++i) {
        HWND hWnd = Win32_CreateWindow(nullptr, false, "");
        ASSERT_NE(hWnd, nullptr);
        EXPECT_TRUE(IsWindow(hWnd));
        EXPECT_TRUE(seen.insert(hWnd).second);
        Win32_DestroyWindow(hWnd);
    }
    for (HWND hWnd : seen) EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_FALSE(IsWindow(nullptr));
}

TEST(Win32Messages, SendOnTheOwningThreadCallsTheProcedureAtOnce) {
    Recorder recorder;
    Window target(recorder.Proc());
    EXPECT_EQ(SendMessageA(target.get(), WM_USER, 21, 0), 42);
    EXPECT_EQ(recorder.Count(), 1u);
}

TEST(Win32Messages, SendFromAWorkerWaitsUntilTheOwnerAnswered) {
    Recorder recorder;
    Window target(recorder.Proc());
    std::atomic<bool> finished{false};
    LRESULT result = 0;
    std::thread worker([&] {
        result = SendMessageA(target.get(), WM_USER + 7, 50, 0);
        finished = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return finished.load(); }));
    worker.join();
    EXPECT_EQ(result, 100);
    ASSERT_EQ(recorder.Count(), 1u);
    EXPECT_EQ(recorder.threads[0], GetCurrentThreadId());
}

TEST(Win32Messages, SendToAWindowDestroyedWhileTheSenderWaitsGivesZero) {
    HWND target = Win32_CreateWindow([](UINT, WPARAM, LPARAM) -> LRESULT { return 9; }, false, "");
    HANDLE queued = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> finished{false};
    LRESULT result = -1;
    // The worker's send sits in the UI thread's queue until the window goes.
    std::thread worker([&] {
        SetEvent(queued);
        result = SendMessageA(target, WM_USER, 0, 0);
        finished = true;
    });
    ASSERT_EQ(WaitForSingleObject(queued, INFINITE), WAIT_OBJECT_0);
    Win32_DestroyWindow(target);
    ASSERT_TRUE(PumpUntil([&] { return finished.load(); }));
    worker.join();
    EXPECT_EQ(result, 0);
    CloseHandle(queued);
}

TEST(Win32Messages, AWorkerThreadPumpsItsOwnWindowWithPeekMessage) {
    Recorder recorder;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND workerWindow = nullptr;
    DWORD workerThread = 0;
    constexpr UINT kStop = WM_USER + 99;
    std::thread worker([&] {
        workerThread = GetCurrentThreadId();
        auto record = recorder.Proc();
        bool stop = false;
        workerWindow = Win32_CreateWindow([&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg == kStop) stop = true;
            return record(msg, w, l);
        }, false, "");
        SetEvent(created);
        DWORD start = GetTickCount();
        while (!stop && GetTickCount() - start < kPatience_ms) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(1);
        }
        Win32_DestroyWindow(workerWindow);
    });
    ASSERT_EQ(WaitForSingleObject(created, INFINITE), WAIT_OBJECT_0);
    for (WPARAM i = 0; i < 50; ++i) ASSERT_TRUE(PostMessageA(workerWindow, WM_USER, i, 0));
    ASSERT_TRUE(PostMessageA(workerWindow, kStop, 50, 0));
    worker.join();
    ASSERT_EQ(recorder.Count(), 51u);
    for (std::size_t i = 0; i < 51; ++i) {
        EXPECT_EQ(recorder.received[i].second, i);
        EXPECT_EQ(recorder.threads[i], workerThread);
    }
    EXPECT_NE(workerThread, GetCurrentThreadId());
    CloseHandle(created);
}

// On a worker thread nothing drains behind PeekMessageA's back, so its filters can be seen.
TEST(Win32Messages, PeekMessageFiltersByWindowAndRangeAndCanLeaveTheMessage) {
    std::thread worker([] {
        HWND a = Win32_CreateWindow(nullptr, false, "");
        HWND b = Win32_CreateWindow(nullptr, false, "");
        PostMessageA(a, WM_USER + 1, 1, 0);
        PostMessageA(b, WM_USER + 2, 2, 0);
        PostMessageA(a, WM_TIMER, 3, 0);
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.wParam, 2u);
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 3u);
        EXPECT_EQ(msg.hwnd, a);
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 1u);
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 2u);
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        Win32_DestroyWindow(a);
        Win32_DestroyWindow(b);
    });
    worker.join();
}

TEST(Win32Messages, DispatchPostedMessagesDrainsTheCallingThreadsQueue) {
    std::thread worker([] {
        Recorder recorder;
        HWND hWnd = Win32_CreateWindow(recorder.Proc(), false, "");
        for (WPARAM i = 0; i < 4; ++i) PostMessageA(hWnd, WM_USER, i, 0);
        EXPECT_EQ(Win32_DispatchPostedMessages(), 4);
        EXPECT_EQ(recorder.Count(), 4u);
        EXPECT_EQ(Win32_DispatchPostedMessages(), 0);
        Win32_DestroyWindow(hWnd);
    });
    worker.join();
}

TEST(Win32Messages, ThreadMessagesReachTheThreadsQueue) {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD workerId = 0;
    MSG got{};
    std::thread worker([&] {
        workerId = GetCurrentThreadId();
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);   // makes the queue, as in Win32
        SetEvent(ready);
        DWORD start = GetTickCount();
        while (!PeekMessageA(&got, nullptr, 0, 0, PM_REMOVE) && GetTickCount() - start < kPatience_ms) Sleep(1);
    });
    ASSERT_EQ(WaitForSingleObject(ready, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(PostThreadMessageA(workerId, WM_APP + 3, 11, 12));
    worker.join();
    EXPECT_EQ(got.hwnd, nullptr);
    EXPECT_EQ(got.message, WM_APP + 3);
    EXPECT_EQ(got.lParam, 12);
    EXPECT_FALSE(PostThreadMessageA(workerId, WM_APP, 0, 0));   // the thread has ended
    CloseHandle(ready);
}

TEST(Win32Messages, AThrowingProcedureDoesNotStopTheQueue) {
    Recorder recorder;
    auto record = recorder.Proc();
    Window target([&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        record(msg, w, l);
        if (w == 0) throw std::runtime_error("test failure inside a window procedure");
        return 0;
    });
    std::thread worker([&] {
        PostMessageA(target.get(), WM_USER, 0, 0);
        PostMessageA(target.get(), WM_USER, 1, 0);
    });
    worker.join();
    ASSERT_TRUE(PumpUntil([&] { return recorder.Count() == 2; }));
    EXPECT_EQ(recorder.received[1].second, 1u);
}

TEST(Win32Messages, WindowsOfAnEndedThreadAreGone) {
    HWND left = nullptr;
    std::thread worker([&] { left = Win32_CreateWindow(nullptr, false, ""); });
    worker.join();
    ASSERT_NE(left, nullptr);
    EXPECT_FALSE(IsWindow(left));
    EXPECT_FALSE(PostMessageA(left, WM_USER, 0, 0));
}

}  // namespace
