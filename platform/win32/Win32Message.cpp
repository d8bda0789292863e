// Message queues: one per thread, posting from anywhere, sending across threads, pumping.
//
// The UI thread's queue drains inside the toolkit's event loop (QtMessageLoop.cpp): a post to one
// of its windows schedules a drain there. Another thread drains its own queue with
// PeekMessageA/DispatchMessageA.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <unordered_map>
#include <vector>

namespace {

struct QueueTable {
    std::mutex mutex;
    std::unordered_map<DWORD, std::shared_ptr<Win32ThreadQueue>> queues;
};

QueueTable& Queues() {
    static auto* table = new QueueTable;   // never destroyed: threads may end during exit
    return *table;
}

// Completes sends nobody will answer, outside any queue lock.
void CompleteUnanswered(std::vector<std::shared_ptr<Win32SendState>>& sends) {
    for (auto& send : sends) send->Complete(0);
    sends.clear();
}

void RetireQueue(const std::shared_ptr<Win32ThreadQueue>& queue) {
    Win32_DestroyThreadWindows(queue->threadId);
    {
        auto& table = Queues();
        std::lock_guard lock(table.mutex);
        table.queues.erase(queue->threadId);
    }
    std::vector<std::shared_ptr<Win32SendState>> sends;
    {
        std::lock_guard lock(queue->mutex);
        queue->retired = true;
        for (auto& entry : queue->messages) {
            if (entry.send) sends.push_back(entry.send);
        }
        queue->messages.clear();
    }
    CompleteUnanswered(sends);
}

// Ends with its thread: the thread's windows go, and its queue stops taking messages.
struct QueueHolder {
    std::shared_ptr<Win32ThreadQueue> queue;
    ~QueueHolder() {
        if (queue) RetireQueue(queue);
    }
};

bool IsUiQueue(const Win32ThreadQueue& queue) { return Win32Qt_IsUiThread(queue.qtThread); }

// Queues a message; wakes the owning thread (Qt's loop for the UI thread). False when the
// thread has ended.
bool Enqueue(Win32ThreadQueue& queue, Win32QueuedMessage entry) {
    bool wakeUi = false;
    bool forWindow = entry.msg.hwnd != nullptr;
    {
        std::lock_guard lock(queue.mutex);
        if (queue.retired) return false;
        queue.messages.push_back(std::move(entry));
        if (forWindow && !queue.wakePending && IsUiQueue(queue)) {
            queue.wakePending = true;
            wakeUi = true;
        }
    }
    queue.posted_cv.notify_all();
    if (wakeUi) Win32Qt_ScheduleUiDrain();
    return true;
}

MSG MakeMsg(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    MSG msg;
    msg.hwnd = hWnd;
    msg.message = Msg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    return msg;
}

bool InRange(UINT message, UINT low, UINT high) {
    return (low == 0 && high == 0) || (message >= low && message <= high);
}

// The window filter of PeekMessageA: NULL takes all, (HWND)-1 only thread messages.
bool MatchesWindow(HWND messageWindow, HWND filter) {
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1))) return messageWindow == nullptr;
    return messageWindow == filter;
}

// Takes the oldest sent message, if any; the caller answers it.
bool PopSent(Win32ThreadQueue& queue, Win32QueuedMessage& out) {
    std::lock_guard lock(queue.mutex);
    for (auto it = queue.messages.begin(); it != queue.messages.end(); ++it) {
        if (!it->send) continue;
        out = std::move(*it);
        queue.messages.erase(it);
        return true;
    }
    return false;
}

void AnswerSent(Win32QueuedMessage& entry) {
    LRESULT result = 0;
    if (auto window = Win32_FindLocalWindow(entry.msg.hwnd)) {
        result = Win32_CallWindowProcGuarded(*window, entry.msg.message, entry.msg.wParam, entry.msg.lParam);
    }
    entry.send->Complete(result);
}

int AnswerAllSent(Win32ThreadQueue& queue) {
    int count = 0;
    Win32QueuedMessage entry;
    while (PopSent(queue, entry)) {
        AnswerSent(entry);
        ++count;
    }
    return count;
}

// Takes the oldest message a drain hands out: sent ones and those posted to a window. Thread
// messages stay for PeekMessageA.
bool PopForDrain(Win32ThreadQueue& queue, Win32QueuedMessage& out) {
    std::lock_guard lock(queue.mutex);
    for (auto it = queue.messages.begin(); it != queue.messages.end(); ++it) {
        if (!it->send && !it->msg.hwnd) continue;
        out = std::move(*it);
        queue.messages.erase(it);
        return true;
    }
    return false;
}

std::size_t QueuedCount(Win32ThreadQueue& queue) {
    std::lock_guard lock(queue.mutex);
    queue.wakePending = false;
    return queue.messages.size();
}

bool IsUnknownOrForeign(HWND hWnd, std::shared_ptr<Win32WindowRecord>& window) {
    window = Win32_FindLocalWindow(hWnd);
    return !window;
}

LRESULT SendAcrossThreads(const Win32WindowRecord& window, const MSG& msg) {
    auto own = Win32_CurrentThreadQueue();
    auto send = std::make_shared<Win32SendState>();
    send->waiter = own;
    if (!Enqueue(*window.queue, Win32QueuedMessage{msg, send})) return 0;
    // While waiting, answer what others send to us, so two threads sending to each other
    // don't deadlock.
    std::unique_lock lock(own->mutex);
    for (;;) {
        if (send->done) return send->result;
        bool incoming = false;
        for (auto& entry : own->messages) incoming = incoming || entry.send != nullptr;
        if (incoming) {
            lock.unlock();
            AnswerAllSent(*own);
            lock.lock();
            continue;
        }
        own->posted_cv.wait(lock);
    }
}

}  // namespace

void Win32SendState::Complete(LRESULT value) {
    {
        std::lock_guard lock(waiter->mutex);
        result = value;
        done = true;
    }
    waiter->posted_cv.notify_all();
}

std::shared_ptr<Win32ThreadQueue> Win32_CurrentThreadQueue() {
    thread_local QueueHolder holder;
    if (!holder.queue) {
        auto queue = std::make_shared<Win32ThreadQueue>();
        queue->threadId = GetCurrentThreadId();
        queue->qtThread = Win32Qt_CurrentThread();
        auto& table = Queues();
        std::lock_guard lock(table.mutex);
        table.queues[queue->threadId] = queue;
        holder.queue = queue;
    }
    return holder.queue;
}

std::shared_ptr<Win32ThreadQueue> Win32_FindThreadQueue(DWORD threadId) {
    auto& table = Queues();
    std::lock_guard lock(table.mutex);
    auto it = table.queues.find(threadId);
    return it == table.queues.end() ? nullptr : it->second;
}

void Win32_DropMessagesFor(Win32ThreadQueue& queue, HWND hWnd) {
    std::vector<std::shared_ptr<Win32SendState>> sends;
    {
        std::lock_guard lock(queue.mutex);
        std::deque<Win32QueuedMessage> kept;
        for (auto& entry : queue.messages) {
            if (entry.msg.hwnd != hWnd) {
                kept.push_back(std::move(entry));
            } else if (entry.send) {
                sends.push_back(entry.send);
            }
        }
        queue.messages.swap(kept);
    }
    CompleteUnanswered(sends);
}

int Win32_DispatchPostedMessages() {
    auto queue = Win32_CurrentThreadQueue();
    // Only what was queued when the drain began: a procedure that posts to itself must not
    // keep Qt's loop from running.
    std::size_t budget = QueuedCount(*queue);
    int count = 0;
    Win32QueuedMessage entry;
    for (std::size_t i = 0; i < budget && PopForDrain(*queue, entry); ++i, ++count) {
        if (entry.send) {
            AnswerSent(entry);
        } else {
            DispatchMessageA(&entry.msg);
        }
    }
    return count;
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd) return PostThreadMessageA(GetCurrentThreadId(), Msg, wParam, lParam);
    std::shared_ptr<Win32WindowRecord> window;
    if (IsUnknownOrForeign(hWnd, window)) return Win32_Fail(ERROR_INVALID_WINDOW_HANDLE);
    if (!Enqueue(*window->queue, Win32QueuedMessage{MakeMsg(hWnd, Msg, wParam, lParam), nullptr})) {
        return Win32_Fail(ERROR_INVALID_WINDOW_HANDLE);
    }
    return TRUE;
}

BOOL PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto queue = idThread == GetCurrentThreadId() ? Win32_CurrentThreadQueue() : Win32_FindThreadQueue(idThread);
    if (!queue) return Win32_Fail(ERROR_INVALID_THREAD_ID);
    if (!Enqueue(*queue, Win32QueuedMessage{MakeMsg(nullptr, Msg, wParam, lParam), nullptr})) {
        return Win32_Fail(ERROR_INVALID_THREAD_ID);
    }
    return TRUE;
}

// On the owning thread the procedure is called directly, as any function call: what it throws
// reaches the caller. From another thread the owner answers it and we wait.
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Win32WindowRecord> window;
    if (IsUnknownOrForeign(hWnd, window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (window->ownerThread == GetCurrentThreadId()) {
        return window->proc ? window->proc(Msg, wParam, lParam) : 0;
    }
    return SendAcrossThreads(*window, MakeMsg(hWnd, Msg, wParam, lParam));
}

BOOL PeekMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) return Win32_Fail(ERROR_INVALID_PARAMETER);
    auto queue = Win32_CurrentThreadQueue();
    if (Win32Qt_OnUiThread()) Win32Qt_ProcessEvents();
    AnswerAllSent(*queue);
    std::lock_guard lock(queue->mutex);
    for (auto it = queue->messages.begin(); it != queue->messages.end(); ++it) {
        if (it->send || !MatchesWindow(it->msg.hwnd, hWnd)) continue;
        if (!InRange(it->msg.message, wMsgFilterMin, wMsgFilterMax)) continue;
        *lpMsg = it->msg;
        if (wRemoveMsg & PM_REMOVE) queue->messages.erase(it);
        return TRUE;
    }
    return FALSE;
}

// Qt already gives characters with its key events; nothing to translate.
BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg) return 0;
    auto window = Win32_FindLocalWindow(lpMsg->hwnd);
    if (!window) return 0;
    return Win32_CallWindowProcGuarded(*window, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
