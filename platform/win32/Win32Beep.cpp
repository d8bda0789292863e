#include "platform/win32/Windows.h"

#include <mutex>

namespace {

std::mutex g_beepLock;
Win32BeepHook g_beepHook;

}  // namespace

BOOL MessageBeep(UINT uType) {
    Win32BeepHook hook;
    {
        std::lock_guard<std::mutex> lock(g_beepLock);
        hook = g_beepHook;
    }
    if (hook) hook(uType);
    return TRUE;
}

Win32BeepHook Win32_SetMessageBeepHook(Win32BeepHook Hook) {
    std::lock_guard<std::mutex> lock(g_beepLock);
    Win32BeepHook old = std::move(g_beepHook);
    g_beepHook = std::move(Hook);
    return old;
}
