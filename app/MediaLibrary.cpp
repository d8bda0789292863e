#include "app/MediaLibrary.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"

template <typename T>
bool TMediaLibrary::Bind(T& Entry, const char* Name) {
    Entry = reinterpret_cast<T>(GetProcAddress(m_module, Name));
    return Entry != nullptr;
}

std::unique_ptr<TMediaLibrary> TMediaLibrary::Load(TMediaEntries Entries) {
    std::unique_ptr<TMediaLibrary> library(new TMediaLibrary);
    library->m_module = LoadLibraryA(MediaLibraryName);
    if (!library->m_module) return nullptr;
    bool information = Entries != TMediaEntries::Grabber;
    bool grabber = Entries != TMediaEntries::Information;
    bool bound = library->Bind(library->m_getFrame, "X_Get_Frame");
    if (information) bound = library->Bind(library->m_getFileInfo, "X_GetFileinfo_GetPic") && bound;
    if (grabber) {
        bound = library->Bind(library->m_init, "X_GetFrame_Init") && bound;
        bound = library->Bind(library->m_setNextFrameTime, "X_Set_NextFrame_Time") && bound;
        bound = library->Bind(library->m_unInit, "X_GetFrame_UnInit") && bound;
    }
    if (!bound) return nullptr;   // the destructor frees the library
    return library;
}

TMediaLibrary::~TMediaLibrary() {
    if (m_module) FreeLibrary(m_module);
}

int TMediaLibrary::GetFileInfo(const String& Path, TMediaInfoRecord& Record) {
    if (!m_getFileInfo) return -1;
    // The library gets a fresh copy with room to spare, as it always has.
    std::vector<char> buffer(Path.size() + 10, '\0');
    std::memcpy(buffer.data(), Path.data(), Path.size());
    return m_getFileInfo(buffer.data(), 10, Record.Words) == -1 ? -1 : 0;
}

TBitmap* TMediaLibrary::GetFrame(int Width, int Height, const char* Name, int* Second) {
    if (!m_getFrame || Width <= 0 || Height <= 0) return nullptr;
    std::uint8_t* pixels = nullptr;
    std::int32_t second = 0;
    m_getFrame(Width, Height, Name, &pixels, &second);
    if (Second) *Second = second;
    if (!pixels) return nullptr;
    auto* bitmap = new TBitmap(Width, Height, pf24bit);
    std::size_t rowBytes = static_cast<std::size_t>(Width) * 3;
    for (int row = 0; row < Height; ++row) {
        std::memcpy(bitmap->ScanLine(row), pixels + rowBytes * row, rowBytes);
    }
    return bitmap;
}

bool TMediaLibrary::InitGrabber(HWND Window, const String& Path, int StartSecond) {
    if (!m_init) return false;
    m_init(Window, 2, Path.c_str(), "", std::to_string(StartSecond).c_str());
    return true;
}

bool TMediaLibrary::SetNextFrameTime(int Second) {
    if (!m_setNextFrameTime) return false;
    m_setNextFrameTime(Second);
    return true;
}

bool TMediaLibrary::UnInitGrabber() {
    if (!m_unInit) return false;
    m_unInit();
    return true;
}

TFrameGrabberClient::TFrameGrabberClient() {
    m_window = Win32_CreateWindow([this](UINT Msg, WPARAM wParam, LPARAM lParam) { return Receive(Msg, wParam, lParam); },
                                  false, "");
}

TFrameGrabberClient::~TFrameGrabberClient() {
    Unload();
    Win32_DestroyWindow(m_window);
}

bool TFrameGrabberClient::Load(TMediaEntries Entries) {
    if (m_library) return true;
    m_library = TMediaLibrary::Load(Entries);
    return m_library != nullptr;
}

bool TFrameGrabberClient::Start(const String& Path, int StartSecond) {
    if (!m_library) return false;
    int before = m_initDone;
    if (!m_library->InitGrabber(m_window, Path, StartSecond)) return false;
    m_running = true;
    WaitUntil([&] { return m_initDone > before; });
    return m_lastInitOpened;
}

bool TFrameGrabberClient::RequestFrame(int Second) {
    if (!m_library || !m_running) return false;
    int before = m_framesReady;
    if (!m_library->SetNextFrameTime(Second)) return false;
    WaitUntil([&] { return m_framesReady > before; });
    return m_lastFrameReady;
}

TBitmap* TFrameGrabberClient::GrabFrame(int Width, int Height, int* Second) {
    if (!m_library) return nullptr;
    return m_library->GetFrame(Width, Height, nullptr, Second);
}

void TFrameGrabberClient::Unload() {
    if (!m_library) return;
    // Without a run there is nothing to wait for; with one, its end is waited for.
    if (m_running) {
        int before = m_uninitDone;
        if (m_library->UnInitGrabber()) WaitUntil([&] { return m_uninitDone > before; });
        m_running = false;
    }
    m_library.reset();
}

LRESULT TFrameGrabberClient::Receive(UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_MEDIA_INIT_DONE:
        m_lastInitOpened = wParam == 1;
        ++m_initDone;
        break;
    case WM_MEDIA_FRAME_READY:
        m_lastFrameReady = wParam == 1;
        ++m_framesReady;
        break;
    case WM_MEDIA_UNINIT_DONE:
        ++m_uninitDone;
        break;
    default:
        return 0;
    }
    if (OnMessage) OnMessage(Msg, wParam, lParam);
    return 0;
}

void TFrameGrabberClient::WaitUntil(const std::function<bool()>& Done) const {
    while (!Done()) {
        Application->ProcessMessages();
        if (!Done()) Sleep(WaitPauseMs);
    }
}
