// Real X input for tests that run on a private X server (Xvfb): the events come from the server
// (XTest), so they reach whichever window the server says is under the pointer or has the focus,
// popups and modal loops included, exactly as a person's mouse and keyboard would.
#pragma once

#include "platform/vcl/Controls.h"

namespace testing_x {

// True when the program runs on a real X display (QT_QPA_PLATFORM=xcb and DISPLAY set).
bool OnRealDisplay();

// Pointer and buttons, in screen coordinates. Each call flushes the request to the server and
// lets the program's message loop take the resulting events.
void MoveTo(int ScreenX, int ScreenY);
void Press(int Button = 1);
void Release(int Button = 1);
void ClickAtScreen(int ScreenX, int ScreenY, int Button = 1);
// At a point of Control's client area (its centre without a point).
void ClickOn(TControl* Control, int Button = 1);
void ClickOn(TControl* Control, int X, int Y, int Button = 1);
TPoint ScreenPointOf(TControl* Control, int X, int Y);

// A key by its X keysym name ("Escape", "Return", "Down", "Tab", "a"), with Shift when asked.
void Key(const char* KeysymName, bool Shift = false);

// Lets the X server and the program settle: runs the message loop for about Ms milliseconds.
void Settle(int Ms = 150);

// What the screen shows at a point (the root window's pixel), as 0x00BBGGRR.
TColor ScreenPixel(int ScreenX, int ScreenY);
// Saves the root window's area (screen coordinates) as a PNG file; false when it cannot.
bool SaveScreenArea(int X, int Y, int Width, int Height, const String& PngPath);

}  // namespace testing_x
