// A form's window as Win32 code sees it: its style bits, its placement, and a device context
// over the whole window for painting the frame on WM_NCPAINT.
//
//   LONG style = GetWindowLong(Form->GetHandle(), GWL_STYLE);
//   SetWindowLong(Form->GetHandle(), GWL_STYLE, style & ~WS_CAPTION);
//   SetWindowPos(Form->GetHandle(), nullptr, 0, 0, 0, 0,
//                SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
//   // ... the form now gets WM_NCPAINT; its handler paints on GetWindowDC(handle).
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/win32/Windows.h"

// GWL_STYLE of a form's window (0 for any other window or index).
LONG GetWindowLong(HWND Window, int Index);
// Sets GWL_STYLE of a form's window; returns the previous bits (0 for anything else).
LONG SetWindowLong(HWND Window, int Index, LONG Value);
// Moves, sizes, raises (HWND_TOP, HWND_TOPMOST), shows or hides a window as the SWP_* flags
// say; SWP_FRAMECHANGED refreshes a form's frame. FALSE for an unknown window.
BOOL SetWindowPos(HWND Window, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
// The canvas over a form's whole window (frame included); nullptr for any other window.
TCanvas* GetWindowDC(HWND Window);
// Nothing to give back: the canvas belongs to the form.
int ReleaseDC(HWND Window, TCanvas* DC);
// The window's bounds in screen coordinates.
BOOL GetWindowRect(HWND Window, TRect* Rect);
// The window is on the screen: a form whose OnShow is running is not yet, one whose OnHide is
// running still is.
BOOL IsWindowVisible(HWND Window);
