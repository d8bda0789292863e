// Threads, events and waits behind handles; time.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/win32/Windows.h"

namespace {

struct Gate {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD seenId = 0;
    DWORD exitCode = 0;
    ~Gate() {
        CloseHandle(release);
        CloseHandle(finished);
    }
};

DWORD GatedRoutine(LPVOID parameter) {
    auto* gate = static_cast<Gate*>(parameter);
    gate->seenId = GetCurrentThreadId();
    WaitForSingleObject(gate->release, INFINITE);
    DWORD code = gate->exitCode;   // the gate may be gone once finished is set
    SetEvent(gate->finished);
    return code;
}

TEST(Win32Threads, ExitCodeIsStillActiveUntilTheRoutineReturns) {
    Gate gate;
    gate.exitCode = 7;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, GatedRoutine, &gate, 0, &id);
    ASSERT_NE(thread, nullptr);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    SetEvent(gate.release);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(gate.seenId, id);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);   // stays signalled
    EXPECT_TRUE(CloseHandle(thread));
}

TEST(Win32Threads, ClosingAThreadHandleEarlyLeavesTheThreadRunning) {
    Gate gate;
    HANDLE thread = CreateThread(nullptr, 0, GatedRoutine, &gate, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
    SetEvent(gate.release);
    EXPECT_EQ(WaitForSingleObject(gate.finished, INFINITE), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeThread(thread, &code));
}

TEST(Win32Threads, ManualResetEventReleasesEveryWaitUntilReset) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 10), WAIT_TIMEOUT);
    SetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

TEST(Win32Threads, AutoResetEventReleasesOneWaitPerSet) {
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);   // starts signalled
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    SetEvent(event);
    SetEvent(event);   // not counted: still one release
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

struct Waiter {
    HANDLE event;
    std::atomic<int>* released;
};

DWORD WaitOnce(LPVOID parameter) {
    auto* waiter = static_cast<Waiter*>(parameter);
    WaitForSingleObject(waiter->event, INFINITE);
    ++*waiter->released;
    return 0;
}

TEST(Win32Threads, AutoResetEventWakesOnlyOneOfTwoWaitingThreads) {
    std::atomic<int> released{0};
    Waiter waiter{CreateEventA(nullptr, FALSE, FALSE, nullptr), &released};
    HANDLE first = CreateThread(nullptr, 0, WaitOnce, &waiter, 0, nullptr);
    HANDLE second = CreateThread(nullptr, 0, WaitOnce, &waiter, 0, nullptr);
    SetEvent(waiter.event);
    while (WaitForSingleObject(first, 5) == WAIT_TIMEOUT && WaitForSingleObject(second, 5) == WAIT_TIMEOUT) {
    }
    EXPECT_EQ(released.load(), 1);
    SetEvent(waiter.event);
    EXPECT_EQ(WaitForSingleObject(first, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(second, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(released.load(), 2);
    CloseHandle(first);
    CloseHandle(second);
    CloseHandle(waiter.event);
}

TEST(Win32Threads, BadHandlesFailInsteadOfCrashing) {
    HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(event));
    HANDLE madeUp = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0xDEADBEE0));
    for (HANDLE bad : {HANDLE{nullptr}, event, madeUp}) {
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_FALSE(SetEvent(bad));
        EXPECT_FALSE(ResetEvent(bad));
        EXPECT_FALSE(CloseHandle(bad));
    }
    HANDLE live = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeThread(live, &code));   // an event is not a thread
    CloseHandle(live);
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
}

TEST(Win32Threads, TickCountMovesForwardAtLeastAsFarAsSlept) {
    DWORD before = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 20u);
}

}  // namespace
