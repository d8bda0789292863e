// Synthetic input delivered through the toolkit exactly as real input would be, for automated
// drivers of the windows (the tests).
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

enum class TSyntheticMouse { Press, Release, DoubleClick, Move };

// Sends a mouse event to Target's widget at a point in Target's client coordinates.
// Held lists the buttons down after the event (as the toolkit reports them).
void SendSyntheticMouse(TWinControl* Target, TSyntheticMouse Kind, TPoint ClientPos, TMouseButton Button,
                        TShiftState Held);
// Sends a key press (with its text) and, when Release is set, the key release to Target's widget.
void SendSyntheticKey(TWinControl* Target, Word Key, TShiftState Shift, const String& Text, bool Release);
// Sends Text as the input method hands over a composed letter (a dead accent, then the letter).
void SendSyntheticComposedText(TWinControl* Target, const String& Text);
// What the screen shows now of Area (screen coordinates), as the window system composed it
// from the windows' own pixels. False when no shown window holds the area (Out is untouched).
bool GrabScreen(const TRect& Area, TBitmap* Out);
