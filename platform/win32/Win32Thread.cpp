// Threads, events and waits behind typed handles; time.
//
// Every HANDLE is a key into a table of live objects, so a closed or made-up handle is answered
// with WAIT_FAILED / FALSE instead of being followed. Values are never reused.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"
#include "platform/win32/Win32Typed.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <thread>
#include <unordered_map>

namespace {

// Something WaitForSingleObject can wait on.
class Waitable {
public:
    virtual ~Waitable() = default;
    // Waits until signalled or the deadline passes (no deadline: forever); true when signalled.
    bool Wait(DWORD timeout_ms) {
        std::unique_lock lock(mutex_);
        auto ready = [this] { return IsSignalled(); };
        if (timeout_ms == INFINITE) {
            cv_.wait(lock, ready);
        } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), ready)) {
            return false;
        }
        Consume();
        return true;
    }

protected:
    virtual bool IsSignalled() const = 0;
    // What a successful wait does to the object (an auto-reset event resets).
    virtual void Consume() {}
    std::mutex mutex_;
    std::condition_variable cv_;
};

class Event final : public Waitable {
public:
    Event(bool manualReset, bool initialState) : manualReset_(manualReset), signalled_(initialState) {}
    void Set() {
        std::lock_guard lock(mutex_);
        signalled_ = true;
        if (manualReset_) cv_.notify_all(); else cv_.notify_one();
    }
    void Reset() {
        std::lock_guard lock(mutex_);
        signalled_ = false;
    }

private:
    bool IsSignalled() const override { return signalled_; }
    void Consume() override {
        if (!manualReset_) signalled_ = false;
    }
    const bool manualReset_;
    bool signalled_;
};

class ThreadState final : public Waitable {
public:
    void Finish(DWORD exitCode) {
        std::lock_guard lock(mutex_);
        exitCode_ = exitCode;
        finished_ = true;
        cv_.notify_all();
    }
    DWORD ExitCode() {
        std::lock_guard lock(mutex_);
        return finished_ ? exitCode_ : STILL_ACTIVE;
    }

private:
    bool IsSignalled() const override { return finished_; }
    bool finished_ = false;
    DWORD exitCode_ = 0;
};

class HandleTable {
public:
    HANDLE Add(std::shared_ptr<Waitable> object) {
        std::lock_guard lock(mutex_);
        next_ += 4;
        objects_.emplace(next_, std::move(object));
        return reinterpret_cast<HANDLE>(next_);
    }
    template <class T>
    std::shared_ptr<T> Find(HANDLE handle) {
        std::lock_guard lock(mutex_);
        auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
        return it == objects_.end() ? nullptr : std::dynamic_pointer_cast<T>(it->second);
    }
    bool Remove(HANDLE handle) {
        std::lock_guard lock(mutex_);
        return objects_.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
    }

private:
    std::mutex mutex_;
    std::uintptr_t next_ = 0;
    std::unordered_map<std::uintptr_t, std::shared_ptr<Waitable>> objects_;
};

// Never destroyed: detached threads may still use it while the process exits.
HandleTable& Handles() {
    static auto* table = new HandleTable;
    return *table;
}

std::atomic<DWORD> g_nextThreadId{1000};
thread_local DWORD t_threadId = 0;

DWORD RunRoutine(LPTHREAD_START_ROUTINE routine, LPVOID parameter) {
    try {
        return routine(parameter);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "win32: thread routine failed: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "win32: thread routine failed with an unknown exception\n");
    }
    return 1;
}

}  // namespace

DWORD Win32_NewThreadId() { return g_nextThreadId.fetch_add(4); }

void Win32_AdoptThreadId(DWORD id) { t_threadId = id; }

DWORD GetCurrentThreadId() {
    if (t_threadId == 0) t_threadId = Win32_NewThreadId();
    return t_threadId;
}

HANDLE CreateThread(void*, std::size_t, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD,
                    DWORD* lpThreadId) {
    if (!lpStartAddress) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto state = std::make_shared<ThreadState>();
    DWORD id = Win32_NewThreadId();
    try {
        // Detached at once: the state outlives both the handle and the thread, so closing the
        // handle early is harmless.
        std::thread([state, id, lpStartAddress, lpParameter] {
            Win32_AdoptThreadId(id);
            state->Finish(RunRoutine(lpStartAddress, lpParameter));
        }).detach();
    } catch (const std::exception&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (lpThreadId) *lpThreadId = id;
    return Handles().Add(state);
}

bool Win32_RunOnWorker(std::function<void()> Work) {
    auto* work = new std::function<void()>(std::move(Work));
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID Parameter) -> DWORD {
            std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()>*>(Parameter));
            (*owned)();
            return 0;
        },
        work, 0, nullptr);
    if (thread == nullptr) {
        delete work;
        return false;
    }
    CloseHandle(thread);
    return true;
}

BOOL GetExitCodeThread(HANDLE hThread, DWORD* lpExitCode) {
    auto state = Handles().Find<ThreadState>(hThread);
    if (!state || !lpExitCode) return Win32_Fail(ERROR_INVALID_HANDLE);
    *lpExitCode = state->ExitCode();
    return TRUE;
}

HANDLE CreateEventA(void*, BOOL bManualReset, BOOL bInitialState, LPCSTR) {
    return Handles().Add(std::make_shared<Event>(bManualReset != FALSE, bInitialState != FALSE));
}

BOOL SetEvent(HANDLE hEvent) {
    auto event = Handles().Find<Event>(hEvent);
    if (!event) return Win32_Fail(ERROR_INVALID_HANDLE);
    event->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent) {
    auto event = Handles().Find<Event>(hEvent);
    if (!event) return Win32_Fail(ERROR_INVALID_HANDLE);
    event->Reset();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    auto object = Handles().Find<Waitable>(hHandle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return object->Wait(dwMilliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL CloseHandle(HANDLE hObject) {
    return Handles().Remove(hObject) ? TRUE : Win32_Fail(ERROR_INVALID_HANDLE);
}

void Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

namespace {
std::atomic<TTickCountSource> g_tickSource{nullptr};
}  // namespace

void SetTickCountSource(TTickCountSource Source) { g_tickSource = Source; }

DWORD GetTickCount() {
    if (TTickCountSource source = g_tickSource.load()) return source();
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}
