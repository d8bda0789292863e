// The media library (CorvaneDLL.dll) as the program binds it.
//
// A job loads the library by its bare name, binds the entry points it needs by name, all or
// none (a missing one frees the library and counts as a missing library), and frees it when
// the job ends. TMediaLibrary is one binding; TFrameGrabberClient is the one grabber client the
// clip editor's preview, the menu designer and the frame chooser share. Both live on the
// user-interface thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/win32/Win32Typed.h"
#include "platform/win32/Windows.h"

// The grabber's messages; their numbers are the library's.
constexpr UINT WM_MEDIA_INIT_DONE = 0x908;
constexpr UINT WM_MEDIA_FRAME_READY = 0x96C;
constexpr UINT WM_MEDIA_UNINIT_DONE = 0x9D0;

constexpr const char* MediaLibraryName = "CorvaneDLL.dll";

// Which entry points a job binds.
enum class TMediaEntries {
    Information,            // X_GetFileinfo_GetPic, X_Get_Frame (clip intake)
    Grabber,                // X_GetFrame_Init, X_Get_Frame, X_Set_NextFrame_Time, X_GetFrame_UnInit
    InformationAndGrabber,  // all five (the frame chooser)
};

// The ten-word media information record, as the library fills it.
struct TMediaInfoRecord {
    std::int32_t Words[10] = {};
    int Width() const { return Words[3]; }
    int Height() const { return Words[4]; }
};

// The library's entry points a job binds; Wanted chooses which.
struct TMediaEntryTable {
    TMediaEntries Wanted = TMediaEntries::InformationAndGrabber;
    int (*GetFileInfo)(const char*, int, std::int32_t*) = nullptr;
    int (*GetFrame)(int, int, const char*, std::uint8_t**, std::int32_t*) = nullptr;
    int (*Init)(void*, int, const char*, const char*, const char*) = nullptr;
    int (*SetNextFrameTime)(int) = nullptr;
    int (*UnInit)() = nullptr;

    template <typename Bind>
    void ForEachEntry(Bind&& Entry) {
        const TEntryNeed information = Wanted != TMediaEntries::Grabber ? TEntryNeed::Required : TEntryNeed::Unused;
        const TEntryNeed grabber = Wanted != TMediaEntries::Information ? TEntryNeed::Required : TEntryNeed::Unused;
        Entry("X_Get_Frame", GetFrame, TEntryNeed::Required);
        Entry("X_GetFileinfo_GetPic", GetFileInfo, information);
        Entry("X_GetFrame_Init", Init, grabber);
        Entry("X_Set_NextFrame_Time", SetNextFrameTime, grabber);
        Entry("X_GetFrame_UnInit", UnInit, grabber);
    }
};

class TMediaLibrary {
public:
    // Null when the library can't be loaded or lacks one of the entry points.
    static std::unique_ptr<TMediaLibrary> Load(TMediaEntries Entries);
    TMediaLibrary(const TMediaLibrary&) = delete;
    TMediaLibrary& operator=(const TMediaLibrary&) = delete;

    // -1: not supported (or not bound); 0: Record holds the file's information.
    int GetFileInfo(const String& Path, TMediaInfoRecord& Record);
    // The frame as a new 24-bit bitmap the caller deletes; null when not bound, the size is
    // refused or the library has no decoded frame (never the pixels of an earlier call). Name: "2.bmp" or "" for the first picture, nullptr for the grabber's frame.
    TBitmap* GetFrame(int Width, int Height, const char* Name, int* Second = nullptr);
    // The grabber's requests; each is answered by its message. False when not bound.
    bool InitGrabber(HWND Window, const String& Path, int StartSecond);
    bool SetNextFrameTime(int Second);
    bool UnInitGrabber();
    // Forgets the module without freeing it: a worker of the library may still run its code.
    void Abandon() { m_binding->Abandon(); }

private:
    using TBinding = TModuleBinding<TMediaEntryTable>;
    explicit TMediaLibrary(std::unique_ptr<TBinding> Binding) : m_binding(std::move(Binding)) {}
    const TMediaEntryTable& Entries() const { return m_binding->Entries(); }

    std::unique_ptr<TBinding> m_binding;
};

// The frame grabber the windows share: one binding with its own message window.
//
// Every request (start, frame, end) is numbered and the library answers each once, in order;
// an answer of a run that has ended (a restart, Unload, a time-out) is dropped, so a window
// never sees a frame it no longer asked for. Requests come in two kinds: Post* return at once
// and are answered through OnMessage (the clip editor keeps working while it seeks); Start and
// RequestFrame wait for their answer with the user-interface thread's messages flowing (the
// designer's chapter grabs). Every wait is bounded: when the library stays silent for TimeoutMs
// the client gives up the run, reports failure (false, OnTimeOut) and goes idle; the library is
// then left loaded for good, since a worker of it may still be running its code.
class TFrameGrabberClient {
public:
    static constexpr DWORD DefaultTimeoutMs = 10000;

    TFrameGrabberClient();
    // Ends a run still going and frees the library. Not from inside OnMessage or OnTimeOut.
    ~TFrameGrabberClient();
    TFrameGrabberClient(const TFrameGrabberClient&) = delete;
    TFrameGrabberClient& operator=(const TFrameGrabberClient&) = delete;

    // LoadFrameGrabber / LoadFrameLibrary: true when bound already or now; a library that can't
    // be loaded leaves the client idle.
    bool Load(TMediaEntries Entries = TMediaEntries::Grabber);
    bool IsLoaded() const { return m_library != nullptr; }
    TMediaLibrary* Library() { return m_library.get(); }
    // A run was started and has not ended.
    bool IsRunning() const { return m_running; }
    // b_GrabberReady: the run's start was answered with the file open.
    bool IsReady() const { return m_ready; }
    // Requests of the current run still waiting for their answer.
    int PendingRequests() const;

    // Starts a run (ending one that goes) and waits for its answer; true when the file opened.
    bool Start(const String& Path, int StartSecond);
    // Asks for the frame at a second and waits for its answer; true when one can be fetched.
    bool RequestFrame(int Second);
    // The same requests without waiting: the request's number, 0 when nothing was sent (no
    // binding, no run, or an unload under way). The answer comes through OnMessage.
    int PostStart(const String& Path, int StartSecond);
    int PostFrameRequest(int Second);
    // While OnMessage runs: the number of the request it answers; 0 otherwise.
    int AnsweredRequest() const { return m_answering; }

    // GrabFrame / GrabFrameBitmap: the run's latest frame as a new 24-bit bitmap, or null.
    TBitmap* GrabFrame(int Width, int Height, int* Second = nullptr);
    // UnloadFrameGrabber: ends the run (waiting, bounded, for WM_MEDIA_UNINIT_DONE when one
    // was started) and frees the library. A nested call during the wait returns at once.
    void Unload();
    bool IsUnloading() const { return m_unloading; }

    // Each answer of the current run, after the client has noted it.
    std::function<void(UINT Msg, WPARAM wParam, LPARAM lParam)> OnMessage;
    // The library left a request unanswered for TimeoutMs; the client is idle again.
    std::function<void()> OnTimeOut;
    // The pause between message rounds while waiting.
    DWORD WaitPauseMs = 50;
    // How long the library may stay silent while requests are open.
    DWORD TimeoutMs = DefaultTimeoutMs;

private:
    struct TRequest {
        int Number;
        UINT Answer;     // the message that answers it
        bool Ended;      // its run has ended: the answer is dropped
        bool Waited;     // a caller waits for its result
    };

    int Send(UINT Answer, bool Waited, const std::function<bool()>& Call);
    bool WaitFor(int Number);
    void EndRun();
    void GiveUp();
    void ArmWatchdog();
    void OpenWindow();
    LRESULT Receive(UINT Msg, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<TMediaLibrary> m_library;
    HWND m_window = nullptr;
    std::vector<HWND> m_retiredWindows;  // windows of given-up runs: late answers land there
    int m_generation = 0;
    std::deque<TRequest> m_pending;
    std::map<int, bool> m_results;       // answers of waited-for requests (true: wParam 1)
    int m_nextNumber = 1;
    int m_answering = 0;
    bool m_running = false;
    bool m_ready = false;
    bool m_unloading = false;
    std::unique_ptr<TTimer> m_watchdog;
};
