// Real X input for tests that run on a private X server (Xvfb): the events come from the server
// (XTest), so they reach whichever window the server says is under the pointer or has the focus,
// popups and modal loops included, exactly as a person's mouse and keyboard would.
#pragma once

#include <functional>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/ScriptedInteraction.h"

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

// Turns the mouse wheel over List until item Index is in view. False when the wheel cannot
// bring it there.
bool WheelIntoView(TCustomListBox* List, int Index);
// Opens Combo's list with a click on its arrow, turns the wheel until item Index shows, moves
// the pointer onto it where the screen shows it and clicks there. False when no list opened or
// the item could not be brought into view.
bool PickWithTheMouse(TCustomComboBox* Combo, int Index);
// Where the open list of Combo lies on the screen (empty while it is closed).
TRect DroppedListArea(TCustomComboBox* Combo);

// Lets the X server and the program settle: runs the message loop for about Ms milliseconds.
void Settle(int Ms = 150);

// What the screen shows at a point (the root window's pixel), as 0x00BBGGRR.
TColor ScreenPixel(int ScreenX, int ScreenY);
// The screen's pixels of Area (screen coordinates), row by row, as 0x00BBGGRR; empty when
// the screen cannot be read.
std::vector<TColor> ScreenArea(const TRect& Area);
// How many pixels differ between two grabs of one area (all of them when the sizes differ).
int DifferingPixels(const std::vector<TColor>& A, const std::vector<TColor>& B);

// Runs Script inside the real modal loop of the next form Ask is asked to show modally, once
// the form is on the screen, as a person acting on the shown window would. The loop ends only
// through the form (a button, a result set by the script) or Ask's time-out guard.
void DuringModal(testing_vcl::TScriptedInteraction& Ask, std::function<void(TCustomForm*)> Script);

// Saves the root window's area (screen coordinates) as a PNG file; false when it cannot.
bool SaveScreenArea(int X, int Y, int Width, int Height, const String& PngPath);

}  // namespace testing_x
