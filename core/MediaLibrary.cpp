#include "core/MediaLibrary.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"

std::unique_ptr<TMediaLibrary> TMediaLibrary::Load(TMediaEntries Entries) {
    TMediaEntryTable wanted;
    wanted.Wanted = Entries;
    auto binding = TBinding::Load(MediaLibraryName, wanted);
    if (!binding) return nullptr;
    return std::unique_ptr<TMediaLibrary>(new TMediaLibrary(std::move(binding)));
}

int TMediaLibrary::GetFileInfo(const String& Path, TMediaInfoRecord& Record) {
    if (!Entries().GetFileInfo) return -1;
    // The library gets a fresh copy with room to spare, as it always has.
    std::vector<char> buffer(Path.size() + 10, '\0');
    std::memcpy(buffer.data(), Path.data(), Path.size());
    return Entries().GetFileInfo(buffer.data(), 10, Record.Words) == -1 ? -1 : 0;
}

TBitmap* TMediaLibrary::GetFrame(int Width, int Height, const char* Name, int* Second) {
    if (!Entries().GetFrame || Width <= 0 || Height <= 0) return nullptr;
    std::uint8_t* pixels = nullptr;
    std::int32_t second = 0;
    int result = Entries().GetFrame(Width, Height, Name, &pixels, &second);
    if (Second) *Second = second;
    // A failed call may leave a buffer (black, or an earlier frame's): it is no frame.
    if (result != 0 || !pixels) return nullptr;
    auto* bitmap = new TBitmap(Width, Height, pf24bit);
    std::size_t rowBytes = static_cast<std::size_t>(Width) * 3;
    for (int row = 0; row < Height; ++row) {
        std::memcpy(bitmap->ScanLine(row), pixels + rowBytes * row, rowBytes);
    }
    return bitmap;
}

bool TMediaLibrary::InitGrabber(HWND Window, const String& Path, int StartSecond) {
    if (!Entries().Init) return false;
    Entries().Init(Window, 2, Path.c_str(), "", std::to_string(StartSecond).c_str());
    return true;
}

bool TMediaLibrary::SetNextFrameTime(int Second) {
    if (!Entries().SetNextFrameTime) return false;
    Entries().SetNextFrameTime(Second);
    return true;
}

bool TMediaLibrary::UnInitGrabber() {
    if (!Entries().UnInit) return false;
    Entries().UnInit();
    return true;
}

TFrameGrabberClient::TFrameGrabberClient() : m_watchdog(std::make_unique<TTimer>(nullptr)) {
    m_watchdog->SetEnabled(false);
    m_watchdog->OnTimer = [this](TObject*) { GiveUp(); };
    OpenWindow();
}

TFrameGrabberClient::~TFrameGrabberClient() {
    // The owner may be half gone already: what it captured must not be reached from here.
    OnMessage = nullptr;
    OnTimeOut = nullptr;
    Unload();
    m_watchdog.reset();
    Win32_DestroyWindow(m_window);
    for (HWND window : m_retiredWindows) Win32_DestroyWindow(window);
}

// Each run generation has its own window, so answers the library still sends for a run given up
// reach a window that drops them.
void TFrameGrabberClient::OpenWindow() {
    int generation = ++m_generation;
    m_window = Win32_CreateWindow(
        [this, generation](UINT Msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            return generation == m_generation ? Receive(Msg, wParam, lParam) : 0;
        },
        false, "");
}

bool TFrameGrabberClient::Load(TMediaEntries Entries) {
    if (m_library) return true;
    if (m_unloading) return false;
    m_library = TMediaLibrary::Load(Entries);
    return m_library != nullptr;
}

int TFrameGrabberClient::PendingRequests() const {
    int count = 0;
    for (const TRequest& request : m_pending) count += request.Ended ? 0 : 1;
    return count;
}

int TFrameGrabberClient::Send(UINT Answer, bool Waited, const std::function<bool()>& Call) {
    int number = m_nextNumber++;
    // Queued before the call: an answer may be posted before the call returns.
    m_pending.push_back({number, Answer, false, Waited});
    if (!Call()) {
        m_pending.pop_back();
        return 0;
    }
    if (m_pending.size() == 1) ArmWatchdog();
    return number;
}

int TFrameGrabberClient::PostStart(const String& Path, int StartSecond) {
    if (!m_library || m_unloading) return 0;
    EndRun();   // a restart: the old run's answers are dropped
    int number = Send(WM_MEDIA_INIT_DONE, false, [&] { return m_library->InitGrabber(m_window, Path, StartSecond); });
    m_running = number != 0;
    return number;
}

int TFrameGrabberClient::PostFrameRequest(int Second) {
    if (!m_library || !m_running || m_unloading) return 0;
    return Send(WM_MEDIA_FRAME_READY, false, [&] { return m_library->SetNextFrameTime(Second); });
}

bool TFrameGrabberClient::Start(const String& Path, int StartSecond) {
    if (!m_library || m_unloading) return false;
    EndRun();
    int number = Send(WM_MEDIA_INIT_DONE, true, [&] { return m_library->InitGrabber(m_window, Path, StartSecond); });
    m_running = number != 0;
    return number != 0 && WaitFor(number) && m_ready;
}

bool TFrameGrabberClient::RequestFrame(int Second) {
    if (!m_library || !m_running || m_unloading) return false;
    int number = Send(WM_MEDIA_FRAME_READY, true, [&] { return m_library->SetNextFrameTime(Second); });
    return number != 0 && WaitFor(number) && m_running;
}

TBitmap* TFrameGrabberClient::GrabFrame(int Width, int Height, int* Second) {
    if (!m_library) return nullptr;
    return m_library->GetFrame(Width, Height, nullptr, Second);
}

void TFrameGrabberClient::Unload() {
    if (!m_library || m_unloading) return;
    m_unloading = true;
    bool wasRunning = m_running;
    EndRun();
    // Without a run there is nothing to wait for; with one, its end is waited for. The library
    // answers what is still open first, then the end.
    if (wasRunning) {
        int number = Send(WM_MEDIA_UNINIT_DONE, true, [&] { return m_library->UnInitGrabber(); });
        if (number != 0) WaitFor(number);
    }
    if (m_library) {   // a time-out gave it up already
        m_pending.clear();
        m_watchdog->SetEnabled(false);
        m_library.reset();
    }
    m_unloading = false;
}

void TFrameGrabberClient::EndRun() {
    for (TRequest& request : m_pending) request.Ended = true;
    m_running = false;
    m_ready = false;
}

void TFrameGrabberClient::GiveUp() {
    m_watchdog->SetEnabled(false);
    if (m_pending.empty()) return;
    for (const TRequest& request : m_pending) {
        if (request.Waited) m_results[request.Number] = false;
    }
    m_pending.clear();
    EndRun();
    if (m_library) m_library->Abandon();
    m_library.reset();
    m_retiredWindows.push_back(m_window);
    OpenWindow();
    if (OnTimeOut) OnTimeOut();
}

void TFrameGrabberClient::ArmWatchdog() {
    m_watchdog->SetEnabled(false);
    if (m_pending.empty()) return;
    m_watchdog->SetInterval(TimeoutMs);
    m_watchdog->SetEnabled(true);
}

bool TFrameGrabberClient::WaitFor(int Number) {
    const DWORD started = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        auto found = m_results.find(Number);
        if (found != m_results.end()) {
            bool answered = found->second;
            m_results.erase(found);
            return answered;
        }
        if (GetTickCount() - started >= TimeoutMs) {
            GiveUp();
            m_results.erase(Number);
            return false;
        }
        Sleep(WaitPauseMs);
    }
}

LRESULT TFrameGrabberClient::Receive(UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (Msg != WM_MEDIA_INIT_DONE && Msg != WM_MEDIA_FRAME_READY && Msg != WM_MEDIA_UNINIT_DONE) return 0;
    // The oldest open request this message can answer; those before it were skipped by the
    // library and count as answered without a result.
    auto match = m_pending.begin();
    while (match != m_pending.end() && match->Answer != Msg) ++match;
    if (match == m_pending.end()) return 0;   // nothing asked for it
    for (auto it = m_pending.begin(); it != match; ++it) {
        if (it->Waited) m_results[it->Number] = false;
    }
    TRequest request = *match;
    m_pending.erase(m_pending.begin(), match + 1);
    ArmWatchdog();   // the library is alive: the open requests get a fresh term
    if (request.Waited) m_results[request.Number] = !request.Ended && wParam == 1;
    if (request.Ended) return 0;
    if (Msg == WM_MEDIA_INIT_DONE) m_ready = wParam == 1;
    // OnMessage may wait for another answer, which comes through here again.
    const int outer = m_answering;
    m_answering = request.Number;
    if (OnMessage) OnMessage(Msg, wParam, lParam);
    m_answering = outer;
    return 0;
}
