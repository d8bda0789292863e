// The media library (CorvaneDLL.dll) as the program binds it.
//
// A job loads the library by its bare name, binds the entry points it needs by name, all or
// none (a missing one frees the library and counts as a missing library), and frees it when
// the job ends. TMediaLibrary is one binding; TFrameGrabberClient is the one grabber client the
// clip editor's preview, the menu designer and the frame chooser share. Both live on the
// user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/vcl/Graphics.h"
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

class TMediaLibrary {
public:
    // Null when the library can't be loaded or lacks one of the entry points.
    static std::unique_ptr<TMediaLibrary> Load(TMediaEntries Entries);
    ~TMediaLibrary();
    TMediaLibrary(const TMediaLibrary&) = delete;
    TMediaLibrary& operator=(const TMediaLibrary&) = delete;

    // -1: not supported (or not bound); 0: Record holds the file's information.
    int GetFileInfo(const String& Path, TMediaInfoRecord& Record);
    // The frame as a new 24-bit bitmap the caller deletes; null when not bound or the size is
    // refused. Name: "2.bmp" or "" for the first picture, nullptr for the grabber's frame.
    TBitmap* GetFrame(int Width, int Height, const char* Name, int* Second = nullptr);
    // The grabber's requests; each is answered by its message. False when not bound.
    bool InitGrabber(HWND Window, const String& Path, int StartSecond);
    bool SetNextFrameTime(int Second);
    bool UnInitGrabber();

private:
    TMediaLibrary() = default;
    template <typename T>
    bool Bind(T& Entry, const char* Name);

    HMODULE m_module = nullptr;
    int (*m_getFileInfo)(const char*, int, std::int32_t*) = nullptr;
    int (*m_getFrame)(int, int, const char*, std::uint8_t**, std::int32_t*) = nullptr;
    int (*m_init)(void*, int, const char*, const char*, const char*) = nullptr;
    int (*m_setNextFrameTime)(int) = nullptr;
    int (*m_unInit)() = nullptr;
};

// The frame grabber the windows share: one binding with its own message window, waits that
// keep the user-interface thread's messages flowing (no time-out: the library answers every
// request), and the messages handed on to whoever shows the frames.
class TFrameGrabberClient {
public:
    TFrameGrabberClient();
    // Ends a run still going and frees the library.
    ~TFrameGrabberClient();
    TFrameGrabberClient(const TFrameGrabberClient&) = delete;
    TFrameGrabberClient& operator=(const TFrameGrabberClient&) = delete;

    // LoadFrameGrabber / LoadFrameLibrary: true when bound already or now.
    bool Load(TMediaEntries Entries = TMediaEntries::Grabber);
    bool IsLoaded() const { return m_library != nullptr; }
    TMediaLibrary* Library() { return m_library.get(); }

    // Starts a run and waits for its WM_MEDIA_INIT_DONE; true when the file opened.
    bool Start(const String& Path, int StartSecond);
    // Asks for the frame at a second and waits for its answer; true when one can be fetched.
    bool RequestFrame(int Second);
    // GrabFrame / GrabFrameBitmap: the run's latest frame as a new 24-bit bitmap, or null.
    TBitmap* GrabFrame(int Width, int Height, int* Second = nullptr);
    // Ends the run (waiting for WM_MEDIA_UNINIT_DONE when one was started) and frees the library.
    void Unload();

    // Each grabber message, after the client has noted it.
    std::function<void(UINT Msg, WPARAM wParam, LPARAM lParam)> OnMessage;
    // The pause between message rounds while waiting.
    DWORD WaitPauseMs = 50;

private:
    LRESULT Receive(UINT Msg, WPARAM wParam, LPARAM lParam);
    void WaitUntil(const std::function<bool()>& Done) const;

    std::unique_ptr<TMediaLibrary> m_library;
    HWND m_window = nullptr;
    bool m_running = false;
    int m_initDone = 0;
    int m_framesReady = 0;
    int m_uninitDone = 0;
    bool m_lastInitOpened = false;
    bool m_lastFrameReady = false;
};
