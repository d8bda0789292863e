// The Win32 services the program calls, on POSIX and Qt.
//
// Windows: the class library registers each of its windows with Win32_CreateWindow and gets an
// HWND; messages posted to it (from any thread) are queued for the thread that created it and
// handed to its window procedure there. The UI thread's queue drains inside Qt's event loop
// (a post wakes it); another thread drains its own with PeekMessageA/DispatchMessageA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using ULONGLONG = std::uint64_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct HWND__;
using HWND = HWND__*;        // one of our windows, or a foreign process's (FindWindowA)
struct HANDLE__;
using HANDLE = HANDLE__*;    // threads and events
struct HMODULE__;
using HMODULE = HMODULE__*;
using HINSTANCE = HMODULE;
struct HRGN__;
using HRGN = HRGN__*;        // regions: see the class library's region helpers
using FARPROC = void (*)();

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

inline WORD LOWORD(DWORD v) { return static_cast<WORD>(v & 0xFFFF); }
inline WORD HIWORD(DWORD v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<DWORD>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
inline WPARAM MAKEWPARAM(int lo, int hi) {
    return static_cast<WPARAM>(static_cast<DWORD>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
inline short GET_X_LPARAM(LPARAM l) { return static_cast<short>(LOWORD(static_cast<DWORD>(l))); }
inline short GET_Y_LPARAM(LPARAM l) { return static_cast<short>(HIWORD(static_cast<DWORD>(l))); }

// ---- window messages -------------------------------------------------------------------------
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
// WM_SIZE's wParam.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;
constexpr UINT WM_ACTIVATE = 0x0006;
// WM_ACTIVATE's low word.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEACTIVATE = 0x0021;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
// Hit-test codes (WM_NCHITTEST answers, WM_NCLBUTTONDOWN's WParam).
constexpr WPARAM HTCLIENT = 1;
constexpr WPARAM HTCAPTION = 2;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENUPOPUP = 0x0117;

// Edit controls: styles, the messages a subclass may catch, and the change notification.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
// LParam points to the class library's TRect: the formatting rectangle, in client coordinates.
constexpr UINT EM_GETRECT = 0x00B2;
constexpr UINT EM_SETRECT = 0x00B3;
constexpr UINT EM_SETRECTNP = 0x00B4;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr WORD EN_CHANGE = 0x0300;

// Scroll bars: which bar, what a SCROLLINFO carries, and the request codes of WM_HSCROLL and
// WM_VSCROLL (low word; the high word carries the position for SB_THUMBPOSITION/SB_THUMBTRACK).
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;
constexpr WORD SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2, SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8;
// WM_HSCROLL/WM_VSCROLL with SB_THUMBPOSITION or SB_THUMBTRACK: the whole 32-bit position rides
// above the request code, so HIWORD still reads its low 16 bits and ScrollWParamPos reads all.
static_assert(sizeof(WPARAM) >= 6, "the thumb position needs 48 bits of WPARAM");
inline WPARAM MakeScrollWParam(WORD Code, int Pos) {
    return static_cast<WPARAM>(Code) | (static_cast<WPARAM>(static_cast<std::uint32_t>(Pos)) << 16);
}
inline int ScrollWParamPos(WPARAM WParam) { return static_cast<int>(static_cast<std::uint32_t>(WParam >> 16)); }
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
// Owner-drawn items: the window asks its parent to draw or measure them; the class library
// reflects both back to the control (CN_DRAWITEM, CN_MEASUREITEM). hDC names the surface being
// painted (the class library's canvas behind it).
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_DELETEITEM = 0x002D;
constexpr UINT WM_FONTCHANGE = 0x001D;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;
struct HDC__;
using HDC = HDC__*;
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};
struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;  // (UINT)-1 for an empty list
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    RECT rcItem;
    std::uintptr_t itemData = 0;
};
struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    std::uintptr_t itemData = 0;
};
// List box messages and answers.
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETSEL = 0x0185;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_SETCARETINDEX = 0x019E;
constexpr UINT LB_GETCARETINDEX = 0x019F;
constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr UINT LB_SETCOUNT = 0x01A7;
constexpr LRESULT LB_ERR = -1;
// Combo box messages and answers.
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr LRESULT CB_ERR = -1;
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
// Notifications a list box or combo box sends its parent (high word of WM_COMMAND's wParam).
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DBLCLK = 2;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;
constexpr UINT WM_MENUSELECT = 0x011F;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSELAST = 0x020A;
constexpr UINT WM_PARENTNOTIFY = 0x0210;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_DEVICECHANGE = 0x0219;
// WM_DEVICECHANGE's wParam for a drive that appeared or went.
constexpr WPARAM DBT_DEVICEARRIVAL = 0x8000;
constexpr WPARAM DBT_DEVICEREMOVECOMPLETE = 0x8004;
constexpr UINT WM_MDIACTIVATE = 0x0222;
constexpr UINT WM_MDIRESTORE = 0x0223;
constexpr UINT WM_MDIMAXIMIZE = 0x0225;
constexpr UINT WM_MDITILE = 0x0226;
constexpr UINT WM_MDICASCADE = 0x0227;
constexpr UINT WM_MDIGETACTIVE = 0x0229;
constexpr UINT WM_MDIREFRESHMENU = 0x0234;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_PRINTCLIENT = 0x0318;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// Mouse key flags in wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;

// Virtual keys.
constexpr WORD VK_LBUTTON = 0x01;
constexpr WORD VK_RBUTTON = 0x02;
constexpr WORD VK_MBUTTON = 0x04;
constexpr WORD VK_BACK = 0x08;
constexpr WORD VK_TAB = 0x09;
constexpr WORD VK_RETURN = 0x0D;
constexpr WORD VK_SHIFT = 0x10;
constexpr WORD VK_CONTROL = 0x11;
constexpr WORD VK_MENU = 0x12;
constexpr WORD VK_ESCAPE = 0x1B;
constexpr WORD VK_SPACE = 0x20;
constexpr WORD VK_PRIOR = 0x21;
constexpr WORD VK_NEXT = 0x22;
constexpr WORD VK_END = 0x23;
constexpr WORD VK_HOME = 0x24;
constexpr WORD VK_LEFT = 0x25;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_RIGHT = 0x27;
constexpr WORD VK_DOWN = 0x28;
constexpr WORD VK_INSERT = 0x2D;
constexpr WORD VK_DELETE = 0x2E;
constexpr WORD VK_F1 = 0x70;
constexpr WORD VK_F4 = 0x73;
constexpr WORD VK_F10 = 0x79;

// ---- windows and messages --------------------------------------------------------------------
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
};

using Win32WindowProc = std::function<LRESULT(UINT Msg, WPARAM wParam, LPARAM lParam)>;

// Registers a window owned by the calling thread. A top-level window with a title is visible to
// FindWindowA of every process of this user. The procedure is called on the owning thread only.
HWND Win32_CreateWindow(Win32WindowProc proc, bool topLevel, const std::string& title);
void Win32_SetWindowTitle(HWND hWnd, const std::string& title);
// Unregisters; messages still queued for it are dropped.
void Win32_DestroyWindow(HWND hWnd);
// Dispatches every message queued for the calling thread's windows; returns how many.
int Win32_DispatchPostedMessages();
// The per-user folder where titled top-level windows are announced to other processes.
std::string Win32_WindowRegistryFolder();
// Posts the message to every top-level window of this process; returns how many.
int Win32_PostToTopLevelWindows(UINT Msg, WPARAM wParam, LPARAM lParam);
// Watches Folder (normally "/dev") for optical drive nodes ("sr" and a number) and posts
// WM_DEVICECHANGE with DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE to the top-level windows
// when one appears or goes. Call on the user-interface thread; a second call replaces the first.
bool Win32_StartDeviceWatch(const std::string& Folder);
void Win32_StopDeviceWatch();
// The optical drive nodes among a folder's entry names, sorted.
std::vector<std::string> Win32_OpticalDriveNodes(const std::vector<std::string>& Names);

BOOL IsWindow(HWND hWnd);
HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName);
// C linkage, so that a loaded module can find it by its plain name at run time.
extern "C" BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam);
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
// On the UI thread also lets Qt deliver its own events (timers, paints, input) first.
extern "C" BOOL PeekMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
BOOL TranslateMessage(const MSG* lpMsg);
extern "C" LRESULT DispatchMessageA(const MSG* lpMsg);
DWORD GetCurrentThreadId();

// Sounds the alert of the given kind (MB_OK, MB_ICONHAND, ... or 0xFFFFFFFF). Every beep goes
// through one replaceable hook (the class library installs the toolkit's bell); tests count.
BOOL MessageBeep(UINT uType);
using Win32BeepHook = std::function<void(UINT uType)>;
// Installs Hook (nullptr: silence) and returns the one it replaces.
Win32BeepHook Win32_SetMessageBeepHook(Win32BeepHook Hook);

// ---- threads, events, time -------------------------------------------------------------------
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID lpParameter);
HANDLE CreateThread(void* lpThreadAttributes, std::size_t dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                    LPVOID lpParameter, DWORD dwCreationFlags, DWORD* lpThreadId);
BOOL GetExitCodeThread(HANDLE hThread, DWORD* lpExitCode);
constexpr DWORD STILL_ACTIVE = 259;
HANDLE CreateEventA(void* lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName);
inline HANDLE CreateEvent(void* a, BOOL m, BOOL i, LPCSTR n) { return CreateEventA(a, m, i, n); }
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
BOOL CloseHandle(HANDLE hObject);
void Sleep(DWORD dwMilliseconds);
DWORD GetTickCount();
// Replaces the clock behind GetTickCount (milliseconds, wrapping at 2^32); nullptr restores the
// system's. For tests that need ticks they choose.
using TTickCountSource = DWORD (*)();
void SetTickCountSource(TTickCountSource Source);

// ---- dynamic libraries -----------------------------------------------------------------------
// "X.dll" (no folder) loads "X.so" from the program folder; a registered in-process module of
// that name wins. NULL when the module can't be loaded.
HMODULE LoadLibraryA(LPCSTR lpLibFileName);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
BOOL FreeLibrary(HMODULE hLibModule);
struct Win32ModuleExport {
    const char* name;
    FARPROC proc;
};
// Tests install a stand-in module under a name ("CorvaneDLL.dll"); an empty list removes it.
void Win32_RegisterModule(const std::string& moduleName, std::initializer_list<Win32ModuleExport> exports);
void Win32_UnregisterModule(const std::string& moduleName);
// The folder of the running executable, with a trailing '/'.
std::string Win32_ProgramFolder();

// ---- volumes ---------------------------------------------------------------------------------
constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

struct Win32Volume {
    char letter = 0;            // 'C'..'Z' as the program addresses it
    std::string mountPoint;     // where it is on this machine, with a trailing '/'
    UINT driveType = DRIVE_FIXED;
    std::string label;
    std::string fileSystem;
    DWORD serial = 0;
    ULONGLONG freeBytes = 0;
    ULONGLONG totalBytes = 0;
    DWORD bytesPerSector = 512;
    DWORD sectorsPerCluster = 8;
};

// The source of volumes; the default reads the mount table (local, writable, fixed mounts).
class Win32VolumeService {
public:
    virtual ~Win32VolumeService() = default;
    virtual std::vector<Win32Volume> Volumes() = 0;
};
// Replaces the service (tests); nullptr restores the mount table.
void Win32_SetVolumeService(Win32VolumeService* service);
// Finds the volume of a root such as "D:\\", "d:/" or a path on this machine.
bool Win32_FindVolume(const std::string& rootPathName, Win32Volume& out);
// Turns "D:\\x\\y" into the path on this machine; other paths come back with '/' separators.
std::string Win32_LocalPath(const std::string& path);

BOOL GetDiskFreeSpaceA(LPCSTR lpRootPathName, DWORD* lpSectorsPerCluster, DWORD* lpBytesPerSector,
                       DWORD* lpNumberOfFreeClusters, DWORD* lpTotalNumberOfClusters);
BOOL GetDiskFreeSpaceExA(LPCSTR lpDirectoryName, ULONGLONG* lpFreeBytesAvailable, ULONGLONG* lpTotalBytes,
                         ULONGLONG* lpTotalFreeBytes);
UINT GetDriveTypeA(LPCSTR lpRootPathName);
BOOL GetVolumeInformationA(LPCSTR lpRootPathName, LPSTR lpVolumeNameBuffer, DWORD nVolumeNameSize,
                           DWORD* lpVolumeSerialNumber, DWORD* lpMaximumComponentLength,
                           DWORD* lpFileSystemFlags, LPSTR lpFileSystemNameBuffer, DWORD nFileSystemNameSize);
DWORD GetLogicalDrives();
constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x00000001;
constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x00000002;
constexpr DWORD FILE_READ_ONLY_VOLUME = 0x00080000;
// The default service's reading of a mount table (the text of /proc/self/mounts): which mounts
// become volumes, their drive types, Windows file-system names and letters (C = the volume
// holding homeFolder, then D, E, ... in mount-point order). isFolder tells whether a mount point
// is a folder (bind-mounted files are skipped). Space, serial and label are left for the caller.
std::vector<Win32Volume> Win32_VolumesFromMounts(const std::string& mountsText, const std::string& homeFolder,
                                                 const std::function<bool(const std::string&)>& isFolder);

// ---- system information ----------------------------------------------------------------------
constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    char szCSDVersion[128] = {};
};
BOOL GetVersionExA(OSVERSIONINFOA* lpVersionInformation);
using LCID = DWORD;
using LCTYPE = DWORD;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;
int GetLocaleInfoA(LCID Locale, LCTYPE LCType, LPSTR lpLCData, int cchData);
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
// The system's measures; the scroll-bar sizes are those the class library's bars are drawn at.
// 0 for an index this system does not answer.
int GetSystemMetrics(int nIndex);

// ---- shell -----------------------------------------------------------------------------------
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_NOASSOC = 31;
// "open" goes through the opener; values above 32 mean success, as in Win32.
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                        LPCSTR lpDirectory, int nShowCmd);
// The opener: the desktop's (xdg-open) by default; tests record what would be opened.
using Win32Opener = std::function<bool(const std::string& target)>;
void Win32_SetOpener(Win32Opener opener);

// ---- files -----------------------------------------------------------------------------------
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
BOOL SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes);
DWORD GetFileAttributesA(LPCSTR lpFileName);
BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists);
BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName);
BOOL DeleteFileA(LPCSTR lpFileName);
BOOL CreateDirectoryA(LPCSTR lpPathName, void* lpSecurityAttributes);
BOOL RemoveDirectoryA(LPCSTR lpPathName);
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);

// Error codes GetLastError gives.
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_INVALID_DRIVE = 15;
constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;

// ---- window styles and placement ----

// WM_SYSCOMMAND requests.
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_RESTORE = 0xF120;

// GetWindowLong / SetWindowLong indexes and the style bits the forms use.
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr LONG WS_POPUP = static_cast<LONG>(0x80000000u);
constexpr LONG WS_CHILD = 0x40000000;
constexpr LONG WS_MINIMIZE = 0x20000000;
constexpr LONG WS_VISIBLE = 0x10000000;
constexpr LONG WS_MAXIMIZE = 0x01000000;
constexpr LONG WS_CAPTION = 0x00C00000;
constexpr LONG WS_BORDER = 0x00800000;
constexpr LONG WS_DLGFRAME = 0x00400000;
constexpr LONG WS_SYSMENU = 0x00080000;
constexpr LONG WS_THICKFRAME = 0x00040000;
constexpr LONG WS_MINIMIZEBOX = 0x00020000;
constexpr LONG WS_MAXIMIZEBOX = 0x00010000;

// SetWindowPos.
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
