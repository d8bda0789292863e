#include "libs/corvane/MessagePump.h"

#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace corvane {

namespace {

// How often the waiting thread looks at its messages: well under the program's 500 ms timer.
constexpr auto kPumpInterval = std::chrono::milliseconds(10);
constexpr unsigned kRemove = 1;   // PM_REMOVE

// The host's MSG, field for field.
struct HostMessage {
    void* hwnd = nullptr;
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;
};

using PeekFunction = int (*)(HostMessage*, void*, unsigned, unsigned, unsigned);
using DispatchFunction = std::intptr_t (*)(const HostMessage*);

class Pump {
public:
    explicit Pump(void* window)
        : peek_(window ? reinterpret_cast<PeekFunction>(dlsym(RTLD_DEFAULT, "PeekMessageA")) : nullptr),
          dispatch_(window ? reinterpret_cast<DispatchFunction>(dlsym(RTLD_DEFAULT, "DispatchMessageA")) : nullptr) {}

    bool Active() const { return peek_ && dispatch_; }

    void DispatchWaiting() const {
        HostMessage message;
        while (peek_(&message, nullptr, 0, 0, kRemove)) dispatch_(&message);
    }

private:
    PeekFunction peek_;
    DispatchFunction dispatch_;
};

}  // namespace

bool RunPumping(void* window, const std::function<bool()>& work) {
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    bool result = false;
    std::thread worker([&] {
        bool value = work();
        std::lock_guard lock(mutex);
        result = value;
        finished = true;
        ended.notify_all();
    });
    Pump pump(window);
    std::unique_lock lock(mutex);
    while (!finished) {
        if (pump.Active()) {
            lock.unlock();
            pump.DispatchWaiting();
            lock.lock();
            ended.wait_for(lock, kPumpInterval, [&] { return finished; });
        } else {
            ended.wait(lock, [&] { return finished; });
        }
    }
    lock.unlock();
    worker.join();
    return result;
}

}  // namespace corvane
